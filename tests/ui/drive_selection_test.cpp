// Changing the selected drive and closing the window: the old watcher ends before its drive is
// closed, the new drive is read and watched, the audio controls are set afresh, and a drive that
// cannot be reopened is reported.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/ui/main_window_rig.h"

namespace {

// E: low speed playback mode, not ready; G: no audio mode, ready. Every command takes a little
// while, so that a poll is likely to be running when the selection changes.
struct TwoDrives : MainWindowRig {
    TwoDrives() {
        SimulatedDriveConfig low;
        low.audioMode = 1;
        e = &drives.AddDrive('E', low);
        e->ForceReadyByte(0);
        SimulatedDriveConfig noAudio;
        noAudio.supportsAudioMode = false;
        noAudio.optimalSpeed = 1;
        g = &drives.AddDrive('G', noAudio);
        g->ForceReadyByte(1);
        e->SetLatencyMicroseconds(300);
        g->SetLatencyMicroseconds(300);
        EXPECT_TRUE(Open());
        EXPECT_TRUE(Eventually([&] { return CountPageReads(*e, 0) >= 3; }));
    }
    SimulatedDrive* e = nullptr;
    SimulatedDrive* g = nullptr;
};

TEST(DriveSelection, StopsTheOldWatcherBeforeClosingAndWatchesTheNewDrive) {
    TwoDrives w;
    // Hold a poll of E in flight while the selection changes; it is let go a little later.
    w.e->PauseCommands();
    ASSERT_TRUE(Eventually([&] { return w.e->PausedCommandCount() == 1; }));
    std::thread resume([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        w.e->ResumeCommands();
    });
    w.g->ClearReceived();
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    resume.join();
    const int pollsOfE = CountPageReads(*w.e, 0);
    EXPECT_EQ(w.transport.Violations(), 0);  // E was not closed under its poll
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"G:"});
    EXPECT_EQ(CountPageReads(*w.g, 1), 2);  // the controls and the report

    EXPECT_TRUE(Eventually([&] { return CountPageReads(*w.g, 0) >= 3; }));
    EXPECT_EQ(CountPageReads(*w.e, 0), pollsOfE);  // E is no longer polled
    EXPECT_TRUE(w.WatcherReady(1));
    EXPECT_EQ(w.LogAfterTicks(10),
              "Current drive setting\r\nOptimal Writing Speed : ON\r\n"
              "Audio Optimized Write Mode : This function is not supported");
    EXPECT_TRUE(w.host.MessageBoxes().empty());
}

// The flag is 1 before and after the change, but G has no audio mode, so the controls were
// just disabled: the first tick after the change enables them again from the flag alone.
TEST(DriveSelection, TheFirstTickAfterAChangeSetsTheAudioControlsAfresh) {
    TwoDrives w;
    w.host.TickTimers(1);
    for (int id : kAudioControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;  // E is not ready
    }
    w.e->ForceReadyByte(1);
    ASSERT_TRUE(w.WatcherReady(1));
    w.host.TickTimers(1);
    ASSERT_TRUE(w.host.IsEnabled(IDC_AUDIO_LOW));
    const std::string description = w.host.Text(IDC_AUDIO_DESCRIPTION);
    EXPECT_EQ(description, w.host.LoadText(IDS_LOW_SPEED_DESCRIPTION));

    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_FALSE(w.host.IsEnabled(IDC_AUDIO_LOW));
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_LOW), 0);
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), description);  // E's description stays
    w.host.TickTimers(1);
    for (int id : kAudioControls) {
        EXPECT_TRUE(w.host.IsEnabled(id)) << id;
    }
}

TEST(DriveSelection, BackToTheFirstDriveUsesTableEntryZero) {
    TwoDrives w;
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    w.e->ClearReceived();
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"E:"});
    EXPECT_EQ(CountPageReads(*w.e, 1), 2);
    EXPECT_EQ(w.transport.Violations(), 0);
}

TEST(DriveSelection, ADriveThatCannotBeReopenedIsShownInABoxAndNotWatched) {
    TwoDrives w;
    w.transport.SetOpenRefusal(
        [opens = 0](const std::string& path) mutable { return path == "G:" && ++opens > 1; });
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));  // the second open of G fails
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.MessageBoxes()[0].text, "device open failed");
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    w.g->ClearReceived();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CountPageReads(*w.g, 0), 0);

    // Neither open succeeds: the report fails and the reason follows it.
    w.transport.SetOpenRefusal([](const std::string& path) { return path == "E:"; });
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
    EXPECT_EQ(w.host.MessageBoxes().size(), 2u);
    w.host.TickTimers(10);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "unexpected error\r\ndevice open failed");
    EXPECT_EQ(w.transport.Violations(), 0);
}

// Another device now answers at G (a drive letter handed on): its model read is all it gets; the
// choice fails as a failed open does, and G is not opened again until the list is read again.
TEST(DriveSelection, ADriveLetterNowLeadingToAnotherDeviceGetsNothingButTheModelRead) {
    TwoDrives w;
    SimulatedDriveConfig other;
    other.modelText = "7325KT52    ";
    SimulatedDrive& another = w.drives.AddDrive('G', other);
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.MessageBoxes()[0].text, "device open failed");
    EXPECT_EQ(w.LogAfterTicks(10), "unexpected error\r\ndevice open failed");
    EXPECT_FALSE(w.host.IsEnabled(IDC_APPLY));
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_EQ(w.host.MessageBoxes().back().text, "device open failed");
    ASSERT_EQ(another.ReceivedCount(), 1u);
    EXPECT_EQ(another.Received()[0].cdb[2], 0xF1);
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    EXPECT_EQ(w.transport.Violations(), 0);
}

TEST(DriveSelection, AFailedReadOnOneDriveThenAGoodOneEnablesEveryControlAgain) {
    TwoDrives w;
    w.g->AddFault(Failing({0x3C, 0xF4, 1}, {0x05, 0x24, 0x00}));
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    for (int id : kSettingControls) {
        EXPECT_FALSE(w.host.IsEnabled(id)) << id;
    }
    ASSERT_TRUE(w.host.SelectComboItem(IDC_DRIVE_COMBO, 0));
    for (int id : {IDC_APPLY, IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING, IDC_SPEED_ON, IDC_SPEED_OFF,
                   IDC_SAVE_SPEED}) {
        EXPECT_TRUE(w.host.IsEnabled(id)) << id;
    }
}

// The first drive is held by other software at start-up; once the user picks one that reads
// correctly, Check setting is back.
TEST(DriveSelection, ADriveThatCouldNotBeOpenedAtStartDoesNotTakeCheckSettingAwayForGood) {
    MainWindowRig rig;
    rig.drives.AddDrive('E');
    rig.drives.AddDrive('G');
    int opensOfE = 0;  // discovery's open goes through, the open that selects it does not
    rig.transport.SetOpenRefusal(
        [&opensOfE](const std::string& path) { return path == "E:" && ++opensOfE > 1; });
    ASSERT_TRUE(rig.Open());
    ASSERT_EQ(rig.host.ComboItems(IDC_DRIVE_COMBO).size(), 2u);
    EXPECT_FALSE(rig.host.IsEnabled(IDC_CHECK_SETTING));

    ASSERT_TRUE(rig.host.SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_TRUE(rig.host.IsEnabled(IDC_CHECK_SETTING));
    EXPECT_TRUE(rig.host.Click(IDC_CHECK_SETTING));
    EXPECT_EQ(rig.LogAfterTicks(10),
              "Current drive setting\r\nOptimal Writing Speed : OFF\r\n"
              "Audio Optimized Write Mode : High speed playback mode");
}

TEST(WindowClose, StopsTheWatcherClosesTheDriveKillsTheTimerAndFreesTheBuffers) {
    TwoDrives w;
    w.host.PressKey(DialogKey::kEscape);
    EXPECT_EQ(w.host.ResultOf(*w.dialog), kIdCancel);
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    EXPECT_TRUE(w.host.RunningTimers().empty());
    EXPECT_FALSE(w.drive.buffers.IsAllocated());
    EXPECT_EQ(w.watcher.StopRequested(), 0);
    const int polls = CountPageReads(*w.e, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(CountPageReads(*w.e, 0), polls);
    EXPECT_EQ(w.transport.Violations(), 0);
}

}  // namespace
