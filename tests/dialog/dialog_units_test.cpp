// Dialog units to pixels as Windows converts them, checked against Windows' own figures, and the
// installed fonts that stand in for the templates' fonts.
#include "dialog/dialog_units.h"

#include <gtest/gtest.h>

#include "dialog/dialog_font_substitutes.h"

namespace {

// MS Sans Serif 8 at 96 dpi: 52 letters 312 pixels wide, 13 high, base units 6 and 13, so a
// 50 x 14 button is 75 x 23 pixels.
TEST(DialogUnits, ConvertAsWindowsDoes) {
    const DialogBaseUnits base = BaseUnitsFromFont(312, 13);
    EXPECT_EQ(base.x, 6);
    EXPECT_EQ(base.y, 13);
    EXPECT_EQ(DialogUnitsToPixelsX(50, base), 75);
    EXPECT_EQ(DialogUnitsToPixelsY(14, base), 23);
    // The average rounds half up, as GdiGetCharDimensions rounds it: 6.5 is 7, 6.48 is 6.
    EXPECT_EQ(BaseUnitsFromFont(338, 13).x, 7);
    EXPECT_EQ(BaseUnitsFromFont(337, 13).x, 6);
    EXPECT_EQ(FontPixelSize(8), 11);
    EXPECT_EQ(FontPixelSize(9), 12);
}

TEST(DialogFonts, TheTemplatesFontsGoToTheInstalledStandIns) {
    EXPECT_EQ(InstalledFontFamily("Verdana"), "DejaVu Sans");
    EXPECT_EQ(InstalledFontFamily("ＭＳ Ｐゴシック"), "IPAPGothic");
    EXPECT_EQ(InstalledFontFamily("MS UI Gothic"), "IPAPGothic");
    EXPECT_EQ(InstalledFontFamily("ＭＳ ゴシック"), "IPAGothic");
    EXPECT_EQ(InstalledFontFamily("Noto Sans"), "Noto Sans");
}

}  // namespace
