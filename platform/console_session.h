// What a console program learns from, and sets up in, the session it runs in: which language the
// user reads when the environment names no locale, and output in UTF-8.
#pragma once

#include <cstdint>

// The user's interface language as a Windows language id (1041 Japanese, 1033 English US, ...):
// on Windows the user's UI language; elsewhere 0, as the locale variables alone decide there.
uint16_t SystemUserInterfaceLanguage();

// Makes the console show UTF-8 output as text (on Windows the console's output code page);
// nothing to do where terminals take UTF-8 already.
void PrepareUtf8ConsoleOutput();
