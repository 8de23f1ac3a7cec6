#include "cli/cli_texts.h"

#include "platform/locale_codeset.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_catalog.h"

namespace {

// The window's log box wants "\r\n"; a console and a JSON string want "\n".
std::string WithUnixLineBreaks(const char* text) {
    std::string converted;
    for (const char* at = text; *at != '\0'; ++at) {
        if (at[0] == '\r' && at[1] == '\n') {
            continue;
        }
        converted += *at;
    }
    return converted;
}

}  // namespace

std::string CliTexts::Text(int stringId) const {
    const char* text = GeneratedResourceCatalog().FindString(stringId, language_);
    const std::string utf8 = text != nullptr ? WithUnixLineBreaks(text) : std::string();
    if (IsUtf8Codeset(codeset_)) {
        return utf8;
    }
    std::string converted;
    if (ConvertFromUtf8(utf8, codeset_, &converted)) {
        return converted;
    }
    // English where the codeset cannot show the language; its texts are ASCII.
    return language_ != kLanguageEnglish ? CliTexts(kLanguageEnglish, codeset_).Text(stringId)
                                         : utf8;
}

std::string CliTexts::Format(int stringId, const std::vector<std::string>& arguments) const {
    return SubstituteArguments(Text(stringId), arguments);
}

std::string SubstituteArguments(const std::string& text,
                                const std::vector<std::string>& arguments) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool placeholder =
            text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9';
        const size_t index = placeholder ? static_cast<size_t>(text[i + 1] - '1') : 0;
        if (placeholder && index < arguments.size()) {
            result += arguments[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
