// The fonts that stand in for the dialog templates' Windows fonts where those are not installed,
// the same choice the Wine setup makes (scripts/lib/wine_fonts.sh): DejaVu Sans, of Verdana's
// design family, for Verdana; the IPA Gothic fonts, which keep the metrics of the Japanese
// Windows fonts they replace, for those.
#pragma once

#include <string>

// The family to ask for in place of a template's font name (UTF-8); the name itself when it has
// no substitute.
std::string InstalledFontFamily(const std::string& templateFontName);
