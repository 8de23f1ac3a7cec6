#include <windows.h>

#include "platform/console_session.h"

uint16_t SystemUserInterfaceLanguage() {
    return static_cast<uint16_t>(GetUserDefaultUILanguage());
}

// Without a console (output redirected from a program that has none) GetConsoleOutputCP gives 0
// and there is nothing to set; output to a file or a pipe goes out as written either way.
Utf8ConsoleOutput::Utf8ConsoleOutput() : previousCodePage_(GetConsoleOutputCP()) {
    if (previousCodePage_ != 0) {
        SetConsoleOutputCP(CP_UTF8);
    }
}

Utf8ConsoleOutput::~Utf8ConsoleOutput() {
    if (previousCodePage_ != 0) {
        SetConsoleOutputCP(previousCodePage_);
    }
}
