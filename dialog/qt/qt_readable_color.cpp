#include "dialog/qt/qt_readable_color.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSteps = 255;  // one step per level of an 8-bit channel

double LinearChannel(double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(const QColor& color) {
    return 0.2126 * LinearChannel(color.redF()) + 0.7152 * LinearChannel(color.greenF()) +
           0.0722 * LinearChannel(color.blueF());
}

int Mix(int from, int to, int step) {
    return from + (to - from) * step / kSteps;
}

QColor MixedTowards(const QColor& from, const QColor& to, int step) {
    return QColor(Mix(from.red(), to.red(), step), Mix(from.green(), to.green(), step),
                  Mix(from.blue(), to.blue(), step));
}

}  // namespace

double ContrastRatio(const QColor& first, const QColor& second) {
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor ReadableTextColor(const QColor& wanted, const QColor& background) {
    const QColor opaque = wanted.toRgb();
    if (ContrastRatio(opaque, background) >= kReadableContrast) {
        return opaque;
    }
    const QColor white(255, 255, 255);
    const QColor black(0, 0, 0);
    const QColor& extreme =
        ContrastRatio(white, background) >= ContrastRatio(black, background) ? white : black;
    // The first readable step on the way to the extreme is the readable colour nearest wanted.
    for (int step = 1; step < kSteps; ++step) {
        const QColor mixed = MixedTowards(opaque, extreme, step);
        if (ContrastRatio(mixed, background) >= kReadableContrast) {
            return mixed;
        }
    }
    return extreme;
}
