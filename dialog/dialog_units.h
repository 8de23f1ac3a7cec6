// Dialog units to pixels, as Windows converts a dialog template's coordinates: the horizontal
// base unit is the font's average character width, taken over the 52 letters A-Z and a-z and
// rounded as GdiGetCharDimensions rounds it; the vertical base unit is the font's height. A
// template x is x * baseX / 4 pixels, a y is y * baseY / 8, each rounded as MulDiv rounds.
#pragma once

struct DialogBaseUnits {
    int x = 0;
    int y = 0;
};

// lettersWidth: the width in pixels of "A..Za..z" in the dialog's font; fontHeight: its height.
constexpr DialogBaseUnits BaseUnitsFromFont(int lettersWidth, int fontHeight) {
    return DialogBaseUnits{(lettersWidth / 26 + 1) / 2, fontHeight};
}

// MulDiv(value, numerator, denominator) for the non-negative values of dialog templates.
constexpr int MulDivRounded(int value, int numerator, int denominator) {
    return (value * numerator + denominator / 2) / denominator;
}

constexpr int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
    return MulDivRounded(units, base.x, 4);
}

constexpr int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
    return MulDivRounded(units, base.y, 8);
}

// A template font's point size as the pixel height Windows gives it at 96 dots per inch
// (-MulDiv(points, 96, 72) as the font's character height).
constexpr int FontPixelSize(int points) {
    return MulDivRounded(points, 96, 72);
}
