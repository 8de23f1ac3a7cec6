#include "platform/console_session.h"

uint16_t SystemUserInterfaceLanguage() {
    return 0;
}

Utf8ConsoleOutput::Utf8ConsoleOutput() = default;

Utf8ConsoleOutput::~Utf8ConsoleOutput() = default;
