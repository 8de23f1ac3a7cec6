#include "cli/output_language.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/console_session.h"
#include "res/resource_catalog.h"

namespace {

constexpr uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr uint16_t kPrimaryLanguageJapanese = 0x11;

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

}  // namespace

uint16_t ChooseOutputLanguage(const char* lcAll, const char* lcMessages, const char* lang,
                              uint16_t systemLanguage) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (IsSet(value)) {
            return std::strncmp(value, "ja", 2) == 0 ? kLanguageJapanese : kLanguageEnglish;
        }
    }
    return (systemLanguage & kPrimaryLanguageMask) == kPrimaryLanguageJapanese ? kLanguageJapanese
                                                                               : kLanguageEnglish;
}

uint16_t OutputLanguageOfProcess() {
    return ChooseOutputLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                                std::getenv("LANG"), SystemUserInterfaceLanguage());
}
