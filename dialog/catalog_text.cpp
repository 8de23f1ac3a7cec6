#include "dialog/catalog_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace {

constexpr char kUtf8[] = "UTF-8";

// Bytes in the UTF-8 sequence that starts with this byte (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    if (lead >= 0xC0) {
        return 2;
    }
    return 1;
}

// The text in another encoding; the text unchanged when iconv does not know the pair.
std::string Convert(const std::string& text, const char* from, const char* to) {
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return text;
    }
    std::string out;
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char* outPointer = buffer;
        size_t outLeft = sizeof buffer;
        const size_t done = iconv(converter, &in, &inLeft, &outPointer, &outLeft);
        out.append(buffer, outPointer);
        if (done != static_cast<size_t>(-1) || errno == E2BIG) {
            continue;
        }
        if (errno != EILSEQ) {
            break;  // an incomplete sequence at the end
        }
        // A character the target cannot hold becomes '?', as WideCharToMultiByte does.
        out.push_back('?');
        const size_t skip =
            std::strcmp(from, kUtf8) == 0 ? Utf8SequenceLength(static_cast<unsigned char>(*in)) : 1;
        const size_t step = std::min(skip, inLeft);
        in += step;
        inLeft -= step;
    }
    iconv_close(converter);
    return out;
}

}  // namespace

CatalogText::CatalogText(const ResourceCatalog& catalog, uint16_t language)
    : catalog_(catalog),
      language_(language),
      codePage_(language == kLanguageJapanese ? "CP932" : "CP1252") {}

std::string CatalogText::LoadText(int stringId) const {
    const char* text = catalog_.FindString(stringId, language_);
    return text != nullptr ? ToNarrow(text) : std::string();
}

bool CatalogText::IsLeadByte(unsigned char byte) const {
    if (language_ != kLanguageJapanese) {
        return false;
    }
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

const DialogTemplate* CatalogText::FindDialog(int dialogId) const {
    return catalog_.FindDialog(dialogId, language_);
}

std::string CatalogText::ToUtf8(const std::string& narrow) const {
    return Convert(narrow, codePage_, kUtf8);
}

std::string CatalogText::ToNarrow(const std::string& utf8) const {
    return Convert(utf8, kUtf8, codePage_);
}
