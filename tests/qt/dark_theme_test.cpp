// The description's blue on the theme's window colour: pure blue where it is readable, as on
// Windows' light dialogs; on a dark theme (pure blue on Adwaita dark's #323232 is 1.49:1) the
// lightest-needed lighter blue with the contrast normal text needs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "dialog/qt/qt_readable_color.h"
#include "tests/qt/qt_window_driver.h"
#include "tests/ui/driven_main_window_rig.h"

namespace {

// The description's text colour as the real main window paints it on a window of that colour.
QColor DescriptionColorOn(const QColor& window) {
    const QPalette theme = QApplication::palette();
    QPalette palette = theme;
    palette.setColor(QPalette::Window, window);
    QApplication::setPalette(palette);
    DrivenMainWindowRig rig({"qt",
                             [](uint16_t language) -> std::unique_ptr<WindowDriver> {
                                 return std::make_unique<QtWindowDriver>(language);
                             }},
                            kLanguageEnglish);
    EXPECT_TRUE(rig.Open());
    rig.dialog->SetControlText(IDC_AUDIO_DESCRIPTION, "WWWW");
    QWidget* description = static_cast<QtWindowDriver&>(*rig.driver).Widget(IDC_AUDIO_DESCRIPTION);
    description->grab();
    QApplication::setPalette(theme);
    return description->palette().color(QPalette::WindowText);
}

TEST(QtDarkTheme, TheDescriptionStaysBlueOnLightWindowsAndTurnsAReadableLighterBlueOnDarkOnes) {
    const QColor blue(0, 0, 255);
    EXPECT_NEAR(ContrastRatio(blue, QColor(0x32, 0x32, 0x32)), 1.49, 0.01);
    for (const QColor light : {QColor(Qt::white), QColor(0xef, 0xef, 0xef)}) {
        EXPECT_EQ(DescriptionColorOn(light), blue);
    }
    for (const QColor dark : {QColor(0x32, 0x32, 0x32), QColor(Qt::black)}) {
        const QColor shown = DescriptionColorOn(dark);
        EXPECT_GE(ContrastRatio(shown, dark), kReadableContrast) << shown.name().toStdString();
        EXPECT_LT(ContrastRatio(shown, dark), kReadableContrast + 0.1);  // no lighter than needed
        EXPECT_EQ(shown.hue(), blue.hue());
    }
}

}  // namespace
