// The keyboard reaches every control as the window draws them: the focus starts at the top, Tab
// visits the groups and controls from top to bottom and each row from left to right, entering a
// radio group at its checked button; the arrow keys move the check round a radio group, passing
// over a disabled button, the dialog hearing each move as a click. (The end-to-end test presses
// the same keys in both languages through the real program.)
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <vector>

#include "dialog/qt/qt_dialog_backend.h"
#include "res/generated_resource_catalog.h"
#include "tests/qt/recording_dialog.h"

namespace {

TEST(QtKeyboard, TabFollowsTheDrawnOrderAndTheArrowsMoveTheCheckRoundARadioGroup) {
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    RecordingDialog dialog(backend);
    ASSERT_TRUE(backend.Open(dialog));
    backend.WindowWidget(dialog)->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(backend.WindowWidget(dialog)));
    // The focused control's id (its object name) after each key.
    const auto press = [](std::vector<Qt::Key> keys) {
        std::vector<int> visited;
        for (Qt::Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited.push_back(QApplication::focusWidget()->objectName().toInt());
        }
        return visited;
    };
    EXPECT_EQ(QApplication::focusWidget(), backend.ControlWidget(dialog, IDC_DRIVE_COMBO));
    dialog.SetCheck(IDC_SPEED_OFF, 1);
    dialog.SetCheck(IDC_AUDIO_HIGH, 1);
    EXPECT_EQ(press(std::vector<Qt::Key>(10, Qt::Key_Tab)),
              (std::vector<int>{IDC_SPEED_OFF, IDC_SAVE_SPEED, IDC_AUDIO_HIGH, IDC_SAVE_AUDIO,
                                IDC_LOG_EDIT, IDC_APPLY, IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING,
                                kIdCancel, IDC_DRIVE_COMBO}));

    backend.ControlWidget(dialog, IDC_SPEED_OFF)->setFocus();
    EXPECT_EQ(press({Qt::Key_Right, Qt::Key_Down, Qt::Key_Up}),
              (std::vector<int>{IDC_SPEED_ON, IDC_SPEED_OFF, IDC_SPEED_ON}));
    EXPECT_EQ(dialog.Of(kWmCommand),
              (std::vector<uintptr_t>{IDC_SPEED_ON, IDC_SPEED_OFF, IDC_SPEED_ON}));
    EXPECT_EQ(dialog.GetCheck(IDC_SPEED_OFF), 0);
    EXPECT_EQ(dialog.GetCheck(IDC_AUDIO_HIGH), 1);  // another group
    dialog.EnableControl(IDC_AUDIO_LOW, false);
    backend.ControlWidget(dialog, IDC_AUDIO_HIGH)->setFocus();
    EXPECT_EQ(press({Qt::Key_Left}), std::vector<int>{IDC_AUDIO_HIGH});
    EXPECT_EQ(dialog.Of(kWmCommand).size(), 3u);
}

}  // namespace
