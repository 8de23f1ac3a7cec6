#include "platform/console_session.h"

uint16_t SystemUserInterfaceLanguage() {
    return 0;
}

void PrepareUtf8ConsoleOutput() {}
