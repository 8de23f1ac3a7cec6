// Text colours a program chose for a light window, kept readable on the theme's own window
// colour: a colour whose contrast with the background is below what reading needs is moved
// towards white on a dark background (towards black on a light one) just far enough, so a blue
// text stays blue, only lighter, on a dark theme.
#pragma once

#include <QColor>

// The contrast ratio of two colours by their relative luminance (1 to 21), as the web's
// accessibility guidelines define it.
double ContrastRatio(const QColor& first, const QColor& second);

// The least contrast for normal text by those guidelines (level AA).
constexpr double kReadableContrast = 4.5;

// wanted itself when it is readable on background; else the colour nearest to it on the way to
// white or black, whichever contrasts more with background, that is readable.
QColor ReadableTextColor(const QColor& wanted, const QColor& background);
