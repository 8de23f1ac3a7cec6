// The native demo: no GUI backend exists yet for Linux, so the main window runs on the in-memory
// backend and is printed as text. The language follows the user's locale, as the Windows
// program's resources do: Japanese for ja*, English otherwise.
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/demo_console.h"
#include "platform/resource_catalog.h"

namespace {

const char* UserLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "";
}

}  // namespace

int main() {
    const uint16_t language =
        std::strncmp(UserLocale(), "ja", 2) == 0 ? kLanguageJapanese : kLanguageEnglish;
    return RunConsoleDemo(language, std::cout);
}
