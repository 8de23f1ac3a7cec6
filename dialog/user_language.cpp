#include "dialog/user_language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "res/resource_catalog.h"

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

uint16_t UserLanguageFromLocale() {
    return std::strncmp(UserLocale(), "ja", 2) == 0 ? kLanguageJapanese : kLanguageEnglish;
}
