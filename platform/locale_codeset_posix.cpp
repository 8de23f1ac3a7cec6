// The C library's own view of the locale (setlocale, nl_langinfo), and its iconv for the
// conversion.
#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "platform/locale_codeset.h"

namespace {

// The locale named for characters: the first of LC_ALL, LC_CTYPE and LANG that is set.
std::string CharacterLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return std::string();
}

// "eucJP" of "ja_JP.eucJP@modifier"; empty when the name gives none.
std::string CodesetOfName(const std::string& name) {
    const size_t dot = name.find('.');
    if (dot == std::string::npos) {
        return std::string();
    }
    return name.substr(dot + 1, name.find('@', dot) - dot - 1);
}

}  // namespace

std::string UserLocaleCodeset() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = current != nullptr ? current : "C";
    std::string codeset;
    if (std::setlocale(LC_CTYPE, "") != nullptr) {
        codeset = nl_langinfo(CODESET);
    } else {
        codeset = CodesetOfName(CharacterLocaleName());
    }
    std::setlocale(LC_CTYPE, previous.c_str());
    return codeset.empty() ? "UTF-8" : codeset;
}

bool ConvertFromUtf8(const std::string& text, const std::string& codeset, std::string* converted) {
    const iconv_t conversion = iconv_open(codeset.c_str(), "UTF-8");
    if (conversion == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string input = text;
    char* in = input.data();
    size_t inLeft = input.size();
    std::string output;
    bool done = true;
    while (inLeft > 0) {
        char buffer[256];
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(conversion, &in, &inLeft, &out, &outLeft);
        output.append(buffer, sizeof buffer - outLeft);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            done = false;  // EILSEQ: no such character there; EINVAL: a cut sequence
            break;
        }
    }
    if (done) {  // back to the initial state, for codesets that shift between character sets
        char buffer[16];
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        done = iconv(conversion, nullptr, nullptr, &out, &outLeft) != static_cast<size_t>(-1);
        output.append(buffer, sizeof buffer - outLeft);
    }
    iconv_close(conversion);
    if (done) {
        *converted = output;
    }
    return done;
}
