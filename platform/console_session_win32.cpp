#include <windows.h>

#include "platform/console_session.h"

uint16_t SystemUserInterfaceLanguage() {
    return static_cast<uint16_t>(GetUserDefaultUILanguage());
}

// Output redirected to a file or a pipe is unaffected: the bytes go out as written.
void PrepareUtf8ConsoleOutput() {
    SetConsoleOutputCP(CP_UTF8);
}
