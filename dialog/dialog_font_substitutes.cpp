#include "dialog/dialog_font_substitutes.h"

namespace {

struct FontSubstitute {
    const char* templateName;
    const char* family;
};

constexpr FontSubstitute kSubstitutes[] = {
    {"Verdana", "DejaVu Sans"},   {"ＭＳ Ｐゴシック", "IPAPGothic"}, {"ＭＳ ゴシック", "IPAGothic"},
    {"MS PGothic", "IPAPGothic"}, {"MS Gothic", "IPAGothic"},        {"MS UI Gothic", "IPAPGothic"},
};

}  // namespace

std::string InstalledFontFamily(const std::string& templateFontName) {
    for (const FontSubstitute& substitute : kSubstitutes) {
        if (templateFontName == substitute.templateName) {
            return substitute.family;
        }
    }
    return templateFontName;
}
