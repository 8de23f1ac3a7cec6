#include "platform/locale_codeset.h"

std::string UserLocaleCodeset() {
    return "UTF-8";
}

bool ConvertFromUtf8(const std::string& text, const std::string& codeset, std::string* converted) {
    if (!IsUtf8Codeset(codeset)) {
        return false;
    }
    *converted = text;
    return true;
}
