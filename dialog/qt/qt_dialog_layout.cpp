#include "dialog/qt/qt_dialog_layout.h"

#include <QFontMetrics>
#include <QString>

#include "dialog/dialog_font_substitutes.h"

namespace {

QFont TemplateFont(const DialogTemplate& source) {
    QFont font(QString::fromStdString(InstalledFontFamily(source.fontName)));
    font.setPixelSize(FontPixelSize(source.fontPointSize));
    return font;
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int lettersWidth = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnitsFromFont(lettersWidth, metrics.height());
}

}  // namespace

QtDialogLayout::QtDialogLayout(const DialogTemplate& source)
    : source_(source), font_(TemplateFont(source)), base_(BaseUnitsOf(font_)) {}

QSize QtDialogLayout::ClientSize() const {
    return QSize(DialogUnitsToPixelsX(source_.width, base_),
                 DialogUnitsToPixelsY(source_.height, base_));
}

QRect QtDialogLayout::ControlRect(const ControlTemplate& control) const {
    const int left = DialogUnitsToPixelsX(control.x, base_);
    const int top = DialogUnitsToPixelsY(control.y, base_);
    // The edges are converted rather than the sizes, so that rounding never opens a gap
    // between controls that meet in the template.
    const int right = DialogUnitsToPixelsX(control.x + control.width, base_);
    const int bottom = DialogUnitsToPixelsY(control.y + control.height, base_);
    return QRect(left, top, right - left, bottom - top);
}
