// What a console program learns from, and sets up in, the session it runs in: which language the
// user reads when the environment names no locale, and output in UTF-8.
#pragma once

#include <cstdint>

// The user's interface language as a Windows language id (1041 Japanese, 1033 English US, ...):
// on Windows the user's UI language; elsewhere 0, as the locale variables alone decide there.
uint16_t SystemUserInterfaceLanguage();

// While it lives, the console shows the program's UTF-8 output as text (on Windows: the console's
// output code page). The console belongs to the prompt the program was started from, so its own
// code page is given back at the end. Nothing to do where terminals take UTF-8 already.
class Utf8ConsoleOutput {
public:
    Utf8ConsoleOutput();
    ~Utf8ConsoleOutput();
    Utf8ConsoleOutput(const Utf8ConsoleOutput&) = delete;
    Utf8ConsoleOutput& operator=(const Utf8ConsoleOutput&) = delete;

private:
    // 0: nothing to give back; only Windows has a code page to give back.
    [[maybe_unused]] unsigned int previousCodePage_ = 0;
};
