// The main window as the settings code's front end: the write pages its radio buttons and check
// boxes give, and the factory values it shows for Restore Factory Default.
#include <gtest/gtest.h>

#include "settings/write_pages.h"
#include "tests/ui/main_window_rig.h"

namespace {

struct OneDriveWindow : MainWindowRig {
    OneDriveWindow() {
        drives.AddDrive('E');
        EXPECT_TRUE(Open());
    }
    void Check(int id, int state) { dialog->SetCheck(id, state); }
};

TEST(WindowChoices, AudioPageTakesLowSpeedOnlyWhenHighSpeedIsUnchecked) {
    OneDriveWindow w;
    struct Case {
        int high, low;
        uint8_t value;
    };
    for (const Case c : {Case{1, 1, 0}, Case{0, 1, 1}, Case{1, 0, 0}, Case{0, 0, 0}}) {
        w.Check(IDC_AUDIO_HIGH, c.high);
        w.Check(IDC_AUDIO_LOW, c.low);
        const WritePage page = AudioModeWritePage(w.dialog->AudioModeChoice());
        EXPECT_EQ(page.kind, 2);
        EXPECT_EQ(page.subkind, 0x80);
        EXPECT_EQ(page.value, c.value) << c.high << c.low;
    }
    w.Check(IDC_SAVE_AUDIO, 1);
    EXPECT_EQ(AudioModeWritePage(w.dialog->AudioModeChoice()).save, 1);
    EXPECT_EQ(OptimalSpeedWritePage(w.dialog->OptimalSpeedChoice()).save, 0);  // the other box
}

TEST(WindowChoices, SpeedPageIsOnOnlyWithTheOnButtonChecked) {
    OneDriveWindow w;
    w.Check(IDC_SPEED_ON, 0);
    w.Check(IDC_SPEED_OFF, 1);
    EXPECT_EQ(OptimalSpeedWritePage(w.dialog->OptimalSpeedChoice()).value, 0);
    w.Check(IDC_SPEED_ON, 1);
    w.Check(IDC_SAVE_SPEED, 1);
    const WritePage page = OptimalSpeedWritePage(w.dialog->OptimalSpeedChoice());
    EXPECT_EQ(page.kind, 9);
    EXPECT_EQ(page.subkind, 0);
    EXPECT_EQ(page.value, 1);
    EXPECT_EQ(page.save, 1);
}

}  // namespace
