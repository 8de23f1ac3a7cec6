// Which family of the operating system the program runs on, as GetVersionExA reports it.
#pragma once

enum OsPlatformId : int {
    kOsPlatformWin32s = 0,
    kOsPlatformWindows9x = 1,  // VER_PLATFORM_WIN32_WINDOWS: not supported
    kOsPlatformNt = 2,         // VER_PLATFORM_WIN32_NT
};

// The platform id; 0 when the system cannot tell. Outside Windows the NT branch applies: 2.
int QueryOsPlatformId();
