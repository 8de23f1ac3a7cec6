// The main window's behaviour as a user meets it, run on every backend that instantiates these
// tests (the in-memory one in ui_tests, the Qt one in qt_tests): start-up with the drive list and
// the report, drive selection, Check setting, Apply, a message box, the audio controls following
// the drive's readiness, and closing.
#include "tests/ui/main_window_behaviour_test.h"

#include "res/resource_ids.h"

namespace {

constexpr int kAudioControls[] = {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO};
constexpr int kSettingControls[] = {IDC_APPLY,      IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING,
                                    IDC_SPEED_ON,   IDC_SPEED_OFF,       IDC_SAVE_SPEED,
                                    IDC_AUDIO_HIGH, IDC_AUDIO_LOW,       IDC_SAVE_AUDIO};

const std::string kReportOfE =
    "Current drive setting\r\nOptimal Writing Speed : OFF\r\n"
    "Audio Optimized Write Mode : High speed playback mode";
const std::string kReportOfG =
    "Current drive setting\r\nOptimal Writing Speed : ON\r\n"
    "Audio Optimized Write Mode : This function is not supported";

// E has both settings and is ready; G has no audio mode, Optimal Writing Speed ON.
struct TwoDriveWindow : DrivenMainWindowRig {
    explicit TwoDriveWindow(const WindowBackendCase& backend, uint16_t language = kLanguageEnglish)
        : DrivenMainWindowRig(backend, language) {
        e = &drives.AddDrive('E');
        e->ForceReadyByte(1);
        SimulatedDriveConfig noAudio;
        noAudio.product = "CD-R DRIVE G    ";
        noAudio.supportsAudioMode = false;
        noAudio.optimalSpeed = 1;
        g = &drives.AddDrive('G', noAudio);
        EXPECT_TRUE(Open());
    }
    SimulatedDrive* e = nullptr;
    SimulatedDrive* g = nullptr;
};

TEST_P(MainWindowOnEveryBackend, StartsWithTheDrivesListedAndTheFirstDrivesReport) {
    TwoDriveWindow w(GetParam());
    EXPECT_EQ(w.driver->ComboItems(IDC_DRIVE_COMBO),
              (std::vector<std::string>{"E: VELMORA CD-R DRIVE      1.00",
                                        "G: VELMORA CD-R DRIVE G    1.00"}));
    EXPECT_EQ(w.driver->ComboSelection(IDC_DRIVE_COMBO), 0);
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"E:"});
    EXPECT_TRUE(w.LogShows(kReportOfE));
    EXPECT_EQ(w.driver->GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(w.driver->GetCheck(IDC_AUDIO_HIGH), 1);
    EXPECT_EQ(w.driver->Text(IDC_AUDIO_DESCRIPTION),
              w.driver->Backend().LoadText(IDS_HIGH_SPEED_DESCRIPTION));
    for (int id : kSettingControls) {
        EXPECT_TRUE(w.driver->IsEnabled(id)) << id;
    }
}

TEST_P(MainWindowOnEveryBackend, StartsInJapaneseWithTheJapaneseReport) {
    TwoDriveWindow w(GetParam(), kLanguageJapanese);
    ASSERT_TRUE(w.driver->RunUntil([&] { return !w.driver->Text(IDC_LOG_EDIT).empty(); }));
    EXPECT_TRUE(w.LogShows(w.driver->Backend().LoadText(IDS_CURRENT_SETTING) + "\r\n" +
                           w.driver->Backend().LoadText(IDS_SPEED_LABEL) +
                           w.driver->Backend().LoadText(IDS_OFF) + "\r\n" +
                           w.driver->Backend().LoadText(IDS_AUDIO_LABEL) +
                           w.driver->Backend().LoadText(IDS_HIGH_SPEED_MODE)));
    EXPECT_EQ(w.driver->ToUtf8(w.driver->Text(IDC_APPLY)), "設定する");
}

TEST_P(MainWindowOnEveryBackend, WithoutDrivesSaysTargetIsNotFoundAndOffersOnlyClose) {
    DrivenMainWindowRig w(GetParam(), kLanguageEnglish);
    ASSERT_TRUE(w.Open());
    EXPECT_TRUE(w.LogShows("Target is not found"));
    EXPECT_TRUE(w.driver->ComboItems(IDC_DRIVE_COMBO).empty());
    EXPECT_FALSE(w.driver->IsEnabled(IDC_DRIVE_COMBO));
    for (int id : kSettingControls) {
        EXPECT_FALSE(w.driver->IsEnabled(id)) << id;
        EXPECT_FALSE(w.driver->Click(id)) << id;
    }
    EXPECT_TRUE(w.driver->Click(kIdCancel));
    EXPECT_FALSE(w.driver->IsOpen());
}

TEST_P(MainWindowOnEveryBackend, ChoosingTheSecondDriveShowsItsReport) {
    TwoDriveWindow w(GetParam());
    ASSERT_TRUE(w.LogShows(kReportOfE));
    ASSERT_TRUE(w.driver->SelectComboItem(IDC_DRIVE_COMBO, 1));
    EXPECT_EQ(w.driver->ComboSelection(IDC_DRIVE_COMBO), 1);
    EXPECT_EQ(w.transport.OpenPaths(), std::vector<std::string>{"G:"});
    EXPECT_TRUE(w.LogShows(kReportOfG));
    EXPECT_EQ(w.driver->GetCheck(IDC_SPEED_ON), 1);
    EXPECT_EQ(w.transport.Violations(), 0);
}

TEST_P(MainWindowOnEveryBackend, CheckSettingEmptiesTheLogAndShowsTheReportAgain) {
    TwoDriveWindow w(GetParam());
    ASSERT_TRUE(w.LogShows(kReportOfE));
    ASSERT_TRUE(w.driver->Click(IDC_CHECK_SETTING));
    EXPECT_EQ(w.driver->Text(IDC_LOG_EDIT), "");  // the handler blocks; the timer shows later
    EXPECT_TRUE(w.LogShows(kReportOfE));
}

TEST_P(MainWindowOnEveryBackend, ApplyWritesTheChoiceAndSaysComplete) {
    TwoDriveWindow w(GetParam());
    ASSERT_TRUE(w.LogShows(kReportOfE));
    ASSERT_TRUE(w.driver->Click(IDC_SPEED_ON));
    EXPECT_EQ(w.driver->GetCheck(IDC_SPEED_OFF), 0);   // one radio group
    EXPECT_EQ(w.driver->GetCheck(IDC_AUDIO_HIGH), 1);  // another
    ASSERT_TRUE(w.driver->Click(IDC_SAVE_SPEED));
    ASSERT_TRUE(w.driver->Click(IDC_APPLY));
    EXPECT_TRUE(w.LogShows("complete"));
    EXPECT_EQ(w.e->SettingsPage()[19], 1);
    EXPECT_EQ(w.e->SettingsPage()[20], 1);  // saved
    EXPECT_TRUE(w.driver->MessageBoxes().empty());
}

// The box is modal and its loop keeps the window's timer going: a piece queued while it is open
// reaches the log box before the box is answered.
TEST_P(MainWindowOnEveryBackend, AFailedApplyIsShownInABoxWhileTheLogKeepsMoving) {
    TwoDriveWindow w(GetParam());
    ASSERT_TRUE(w.LogShows(kReportOfE));
    w.e->SetSavedBytesStuck(true);
    bool shownBehindTheBox = false;
    w.driver->SetMessageBoxAnswerer([&](const MessageBoxRecord&) {
        w.log.LogAppend(IDS_ON);
        shownBehindTheBox = w.driver->RunUntil(
            [&] { return w.driver->Text(IDC_LOG_EDIT).find("ON") != std::string::npos; });
    });
    ASSERT_TRUE(w.driver->Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.driver->Click(IDC_SAVE_SPEED));
    ASSERT_TRUE(w.driver->Click(IDC_APPLY));
    const std::vector<MessageBoxRecord> boxes = w.driver->MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Cannot setting optimized write speed");
    EXPECT_EQ(boxes[0].title, w.driver->Backend().ApplicationName());
    EXPECT_EQ(boxes[0].ownerTemplateId, IDD_MAIN);
    EXPECT_TRUE(shownBehindTheBox);
}

TEST_P(MainWindowOnEveryBackend, TheAudioControlsFollowTheDrivesReadiness) {
    TwoDriveWindow w(GetParam());
    const auto audioControlsEnabled = [&](bool enabled) {
        for (int id : kAudioControls) {
            if (w.driver->IsEnabled(id) != enabled) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(w.driver->RunUntil([&] { return audioControlsEnabled(true); }));
    ASSERT_TRUE(w.driver->Click(IDC_AUDIO_LOW));
    EXPECT_EQ(w.driver->GetCheck(IDC_AUDIO_HIGH), 0);
    EXPECT_EQ(w.driver->Text(IDC_AUDIO_DESCRIPTION),
              w.driver->Backend().LoadText(IDS_LOW_SPEED_DESCRIPTION));

    w.e->ForceReadyByte(0);
    EXPECT_TRUE(w.driver->RunUntil([&] { return audioControlsEnabled(false); }));
    EXPECT_FALSE(w.driver->Click(IDC_AUDIO_HIGH));
    EXPECT_TRUE(w.driver->IsEnabled(IDC_APPLY));
    w.e->ForceReadyByte(1);
    EXPECT_TRUE(w.driver->RunUntil([&] { return audioControlsEnabled(true); }));
}

TEST_P(MainWindowOnEveryBackend, EscapeClosesTheWindowAndTakesEverythingDown) {
    TwoDriveWindow w(GetParam());
    ASSERT_TRUE(w.LogShows(kReportOfE));
    w.driver->PressEscape();
    EXPECT_FALSE(w.driver->IsOpen());
    EXPECT_EQ(w.transport.OpenHandles(), 0);
    EXPECT_FALSE(w.drive.buffers.IsAllocated());
    const size_t polls = w.e->ReceivedCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(w.e->ReceivedCount(), polls);  // the watcher has stopped
    EXPECT_EQ(w.transport.Violations(), 0);
}

}  // namespace
