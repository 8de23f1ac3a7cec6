// Every text of both dialogs, in both languages, measured with the fonts the window really uses
// against the rectangle its control gets: nothing is cut off, and every character is in the
// font itself, so none is drawn from a fallback font or as a missing-glyph box. The audio-mode
// descriptions, which the program puts into control 1027, are measured there too. The test
// command runs these once more with QT_SCALE_FACTOR=2, as a HiDPI screen draws the window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_display_text.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "tests/qt/qt_window_driver.h"
#include "tests/qt/recording_dialog.h"

namespace {

// Characters the font itself lacks.
QString MissingCharacters(const QFont& font, const QString& text) {
    const QFontMetrics metrics(font);
    QString missing;
    for (const char32_t character : text.toUcs4()) {
        if (character != U'\n' && !metrics.inFontUcs4(character)) {
            missing += QString::fromUcs4(&character, 1);
        }
    }
    return missing;
}

// The room a button's own drawing leaves for its text, as the widget's style draws it.
int TextRoom(QWidget* widget) {
    QStyle* style = widget->style();
    if (qobject_cast<QCheckBox*>(widget) != nullptr) {
        return widget->width() - style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) -
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget);
    }
    if (qobject_cast<QRadioButton*>(widget) != nullptr) {
        return widget->width() -
               style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) -
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget);
    }
    if (qobject_cast<QPushButton*>(widget) != nullptr) {
        return widget->width() - style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget) -
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {  // title indent and padding
        return widget->width() - QFontMetrics(group->font()).height();
    }
    return widget->width();
}

// Where the text does not fit: empty when it does.
std::string Misfit(QWidget* widget, const QString& shown) {
    const QFontMetrics metrics(widget->font());
    const QString text = WithoutMnemonics(shown);
    if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && label->wordWrap()) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, widget->width(), 100000),
                                                  Qt::AlignLeft | Qt::TextWordWrap, text);
        if (needed.width() > widget->width() || needed.height() > widget->height()) {
            return "needs " + std::to_string(needed.width()) + "x" +
                   std::to_string(needed.height()) + ", has " + std::to_string(widget->width()) +
                   "x" + std::to_string(widget->height());
        }
        return std::string();
    }
    const int width = metrics.horizontalAdvance(text);
    if (width > TextRoom(widget) || metrics.height() > widget->height()) {
        return "needs " + std::to_string(width) + "x" + std::to_string(metrics.height()) +
               ", has " + std::to_string(TextRoom(widget)) + "x" + std::to_string(widget->height());
    }
    return std::string();
}

// The scale the window is drawn at: QT_SCALE_FACTOR's, 1 without it.
double ExpectedScale() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return factor.isEmpty() ? 1.0 : factor.toDouble();
}

class ControlTextFit : public testing::TestWithParam<uint16_t> {};

TEST_P(ControlTextFit, EveryTemplateTextFitsItsControlInTheFontsOwnGlyphs) {
    QtDialogBackend backend(GeneratedResourceCatalog(), GetParam());
    int measured = 0;
    for (int dialogId : {IDD_MAIN, IDD_ABOUTBOX}) {
        RecordingDialog dialog(backend, dialogId);
        ASSERT_TRUE(backend.Open(dialog));
        EXPECT_EQ(backend.WindowWidget(dialog)->devicePixelRatioF(), ExpectedScale());
        for (QWidget* widget : backend.WindowWidget(dialog)->findChildren<QWidget*>()) {
            const QString shown = ShownText(widget);
            if (shown.isEmpty()) {
                continue;
            }
            ++measured;
            EXPECT_EQ(Misfit(widget, shown), "") << shown.toStdString();
            EXPECT_EQ(MissingCharacters(widget->font(), shown).toStdString(), "")
                << shown.toStdString();
        }
        dialog.EndDialog(kIdCancel);
    }
    EXPECT_GE(measured, 16);
}

TEST_P(ControlTextFit, BothAudioModeDescriptionsFitTheDescriptionControl) {
    QtDialogBackend backend(GeneratedResourceCatalog(), GetParam());
    RecordingDialog dialog(backend);
    ASSERT_TRUE(backend.Open(dialog));
    QWidget* description = backend.ControlWidget(dialog, IDC_AUDIO_DESCRIPTION);
    for (int id : {IDS_HIGH_SPEED_DESCRIPTION, IDS_LOW_SPEED_DESCRIPTION}) {
        const QString text = DisplayText(backend.Text(), backend.LoadText(id));
        EXPECT_EQ(Misfit(description, text), "") << text.toStdString();
        EXPECT_EQ(MissingCharacters(description->font(), text).toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ControlTextFit,
                         testing::Values(kLanguageEnglish, kLanguageJapanese),
                         [](const testing::TestParamInfo<uint16_t>& language) {
                             return language.param == kLanguageJapanese ? "Japanese" : "English";
                         });

}  // namespace
