// Apply and Restore Factory Default on the main window, against a simulated drive: the commands
// sent byte for byte, the write-and-verify retries, the disc stop and its failures, the audio
// readiness, and when "complete" or "default setting" may be shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/main_window_rig.h"

namespace {

constexpr uint8_t kSpeedPage = 9;
constexpr uint8_t kAudioPage = 2;

bool IsWrite(const ReceivedCommand& command, uint8_t kind) {
    return command.cdb[0] == 0x3B && !command.dataOut.empty() && command.dataOut[0] == kind;
}

bool CdbStartsWith(const ReceivedCommand& command, std::vector<uint8_t> bytes) {
    return std::equal(bytes.begin(), bytes.end(), command.cdb.begin());
}

// The window with one drive at E, opened, its watcher's first poll seen and the first tick run.
struct ApplyWindow : MainWindowRig {
    explicit ApplyWindow(const SimulatedDriveConfig& config = {}, int readyByte = -1) {
        drive = &drives.AddDrive('E', config);
        drive->ForceReadyByte(readyByte);
        EXPECT_TRUE(Open());
        EXPECT_TRUE(WatcherReady(drive->ReadyByte() == 1 ? 1 : 0));
        host.TickTimers(10);
        drive->ClearReceived();
    }

    // What the window sent, without the watcher's polls.
    std::vector<ReceivedCommand> Commands() const {
        std::vector<ReceivedCommand> commands;
        for (const ReceivedCommand& command : drive->Received()) {
            if (!IsPageRead(command, 0)) {
                commands.push_back(command);
            }
        }
        return commands;
    }
    int CountWrites(uint8_t kind) const {
        const auto commands = Commands();
        return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                              [&](const auto& c) { return IsWrite(c, kind); }));
    }
    int CountOpcode(uint8_t opcode) const {
        const auto commands = Commands();
        return static_cast<int>(std::count_if(commands.begin(), commands.end(),
                                              [&](const auto& c) { return c.cdb[0] == opcode; }));
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const MessageBoxRecord& box : host.MessageBoxes()) {
            texts.push_back(box.text);
        }
        return texts;
    }
    void Check(int id, int state) { dialog->SetCheck(id, state); }

    SimulatedDrive* drive = nullptr;
};

SimulatedDriveConfig WithDisc() {
    SimulatedDriveConfig config;
    config.disc = DiscState::kPresent;
    return config;
}

TEST(Apply, PlainApplyWithoutDiscSendsTheProbeThenOneWriteAndReadPerSetting) {
    ApplyWindow w;
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    ASSERT_TRUE(w.host.Click(IDC_SAVE_AUDIO));
    w.log.LogAppend(IDS_ON);  // still queued from before: dropped for the outcome
    ASSERT_TRUE(w.host.Click(IDC_APPLY));

    const auto commands = w.Commands();
    ASSERT_EQ(commands.size(), 7u);
    // The probe: the tray is closed and empty, so it ends at the second READ DISC INFORMATION.
    EXPECT_EQ(commands[0].cdb[0], 0x51);
    EXPECT_EQ(commands[1].cdb[0], 0x52);
    EXPECT_EQ(commands[2].cdb[0], 0x51);
    // Mode 1 and offset 0 come from the settings read before; length 256.
    const std::vector<uint8_t> writePage{0x3B, 0x01, 0xFA, 0, 0, 0, 0, 0x01, 0x00, 0};
    const std::vector<uint8_t> readPage{0x3C, 0x01, 0xF4, 0, 0, 0, 0, 0x01, 0x00, 0};
    std::vector<uint8_t> speedPage(256, 0);
    speedPage[0] = 9;
    speedPage[2] = 1;  // ON, not saved
    std::vector<uint8_t> audioPage(256, 0);
    audioPage[0] = 2;
    audioPage[1] = 0x80;
    audioPage[2] = 1;  // low speed playback, saved
    audioPage[3] = 1;
    EXPECT_TRUE(CdbStartsWith(commands[3], writePage));
    EXPECT_EQ(commands[3].dataOut, speedPage);
    EXPECT_TRUE(CdbStartsWith(commands[4], readPage));
    EXPECT_TRUE(CdbStartsWith(commands[5], writePage));
    EXPECT_EQ(commands[5].dataOut, audioPage);
    EXPECT_TRUE(CdbStartsWith(commands[6], readPage));
    for (size_t i = 3; i < commands.size(); ++i) {
        EXPECT_EQ(commands[i].timeoutSeconds, 10u) << i;
    }

    EXPECT_EQ(w.LogAfterTicks(5), "complete");
    EXPECT_TRUE(w.host.MessageBoxes().empty());
    const auto page = w.drive->SettingsPage();
    EXPECT_EQ(page[19], 1);
    EXPECT_EQ(page[20], 0);  // not saved
    EXPECT_EQ(page[22], 1);
    EXPECT_EQ(page[23], 1);
}

TEST(Apply, ADriveThatNeverConfirmsGetsSixWritesThenBox149AndTheAudioPartStillRuns) {
    ApplyWindow w;
    w.drive->SetSavedBytesStuck(true);  // the saved speed stays OFF
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_SAVE_SPEED));
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    int pollsWhileBoxOpen = -1;
    int audioWritesBeforeBox = -1;
    w.host.SetMessageBoxAnswerer([&](MemoryDialogHost& host, const MessageBoxRecord&) {
        audioWritesBeforeBox = w.CountWrites(kAudioPage);
        const int polls = CountPageReads(*w.drive, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // ~15 watcher periods
        pollsWhileBoxOpen = CountPageReads(*w.drive, 0) - polls;
        host.TickTimers(2);  // the pump goes on behind the box
    });
    ASSERT_TRUE(w.host.Click(IDC_APPLY));

    EXPECT_EQ(w.CountWrites(kSpeedPage), 6);
    EXPECT_EQ(w.CountOpcode(0x3C), 7);  // six speed verifications and the audio one
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.MessageBoxes()[0].text, "Cannot setting optimized write speed");
    EXPECT_EQ(w.host.MessageBoxes()[0].title, w.host.ApplicationName());
    EXPECT_EQ(w.host.MessageBoxes()[0].ownerTemplateId, IDD_MAIN);
    EXPECT_EQ(audioWritesBeforeBox, 0);
    EXPECT_EQ(pollsWhileBoxOpen, 0);  // the drive stays locked while the box is open
    EXPECT_EQ(w.CountWrites(kAudioPage), 1);
    EXPECT_EQ(w.drive->SettingsPage()[22], 1);
    EXPECT_EQ(w.LogAfterTicks(5), "");
}

// The same drive, whose saved bytes never change: only a write that asks for saving fails.
TEST(Apply, ASavedByteThatDoesNotUpdateFailsTheVerificationOnlyWhenSavingWasAsked) {
    ApplyWindow w;
    w.drive->SetSavedBytesStuck(true);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    ASSERT_TRUE(w.host.Click(IDC_AUDIO_LOW));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountWrites(kSpeedPage), 1);
    EXPECT_EQ(w.LogAfterTicks(5), "complete");

    w.drive->ClearReceived();
    ASSERT_TRUE(w.host.Click(IDC_SAVE_AUDIO));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountWrites(kSpeedPage), 1);
    EXPECT_EQ(w.CountWrites(kAudioPage), 1);  // no retry for the audio mode
    EXPECT_TRUE(w.host.MessageBoxes().empty());
    EXPECT_EQ(w.LogAfterTicks(5),
              "Cannot setting Audio Optimized Write Mode\r\nIf the disc is in the drive, please "
              "eject");
}

TEST(Apply, TheSixthWriteVerifyingFirstShowsNoBoxYetNoComplete) {
    ApplyWindow w;
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    w.drive->AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb).Times(5));
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountWrites(kSpeedPage), 6);
    EXPECT_EQ(w.CountWrites(kAudioPage), 1);
    EXPECT_TRUE(w.host.MessageBoxes().empty());
    EXPECT_EQ(w.LogAfterTicks(5), "");
}

// A read-back that outlasts the wait bound proves nothing, although the drive took the value.
TEST(Apply, AVerificationPastTheWaitBoundIsNotAConfirmation) {
    MainWindowRig rig;
    rig.services.commandWaitMs = 20;
    SimulatedDrive& drive = rig.drives.AddDrive('E');
    ASSERT_TRUE(rig.Open());
    ASSERT_TRUE(rig.WatcherReady(1));
    rig.host.TickTimers(10);
    ASSERT_TRUE(rig.host.Click(IDC_SPEED_ON));
    drive.SetCommandLatency({0x3C, 0xF4, 1}, 50000);
    ASSERT_TRUE(rig.host.Click(IDC_APPLY));
    EXPECT_EQ(drive.SettingsPage()[19], 1);
    ASSERT_EQ(rig.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(rig.host.MessageBoxes()[0].text, "Cannot setting optimized write speed");
    EXPECT_EQ(rig.LogAfterTicks(5),
              "Cannot setting Audio Optimized Write Mode\r\nIf the disc is "
              "in the drive, please eject");
}

TEST(DiscStop, SentOnlyWithADiscAndACheckedSaveBox) {
    ApplyWindow w(WithDisc(), 1);
    ASSERT_TRUE(w.host.Click(IDC_APPLY));  // a disc, nothing to save
    EXPECT_EQ(w.CountOpcode(0x1B), 0);
    EXPECT_EQ(w.LogAfterTicks(5), "complete");

    for (int saveBox : {IDC_SAVE_SPEED, IDC_SAVE_AUDIO}) {
        w.Check(IDC_SAVE_SPEED, saveBox == IDC_SAVE_SPEED);
        w.Check(IDC_SAVE_AUDIO, saveBox == IDC_SAVE_AUDIO);
        w.drive->ClearReceived();
        ASSERT_TRUE(w.host.Click(IDC_APPLY));
        const auto commands = w.Commands();
        const auto stop = std::find_if(commands.begin(), commands.end(),
                                       [](const auto& c) { return c.cdb[0] == 0x1B; });
        ASSERT_NE(stop, commands.end()) << saveBox;
        EXPECT_TRUE(CdbStartsWith(*stop, {0x1B, 0, 0, 0, 0, 0}));  // stop, no eject
        EXPECT_EQ(stop->timeoutSeconds, 10u);
        EXPECT_TRUE(IsWrite(*(stop + 1), kSpeedPage));  // right after the probe, before writing
        EXPECT_EQ(w.CountOpcode(0x1B), 1);
        EXPECT_EQ(w.LogAfterTicks(5), "complete") << saveBox;
    }

    SimulatedDriveConfig empty;
    ApplyWindow noDisc(empty);
    noDisc.Check(IDC_SAVE_SPEED, 1);
    noDisc.Check(IDC_SAVE_AUDIO, 1);
    ASSERT_TRUE(noDisc.host.Click(IDC_APPLY));
    EXPECT_EQ(noDisc.CountOpcode(0x1B), 0);
}

TEST(DiscStop, ItsFailureEndsTheApplyWithOneOfThreeLines) {
    struct Case {
        SenseTriple sense;
        int button;
        const char* line;
    };
    const Case cases[] = {
        {kSenseBecomingReady, IDC_APPLY,
         "Setting up a disc now.\r\nPlease wait to end of setting up and push the \"Apply\" "
         "button again."},
        {kSenseBecomingReady, IDC_RESTORE_DEFAULT,
         "Setting up a disc now.\r\nPlease wait to end of setting up and push the \"Restore "
         "Factory Default\" button."},
        {SenseTriple{0x02, 0x04, 0x00}, IDC_APPLY, "unexpected error"},
        {kSenseInvalidFieldInCdb, IDC_RESTORE_DEFAULT, "unexpected error"},
    };
    for (const Case& c : cases) {
        ApplyWindow w(WithDisc(), 1);
        w.Check(IDC_SAVE_SPEED, 1);
        w.drive->AddFault(Failing(0x1B, c.sense));
        w.log.LogAppend(IDS_ON);  // dropped: the failure is all the log box shows
        ASSERT_TRUE(w.host.Click(c.button));
        EXPECT_EQ(w.CountOpcode(0x1B), 1);
        EXPECT_EQ(w.CountOpcode(0x3B), 0);
        EXPECT_EQ(w.CountOpcode(0x3C), 0);
        EXPECT_TRUE(w.host.MessageBoxes().empty());
        EXPECT_EQ(w.LogAfterTicks(5), c.line);
    }
}

TEST(AudioReadiness, NotReadyShowsBox148WhetherOrNotTheDriveHasTheAudioMode) {
    for (bool hasAudioMode : {true, false}) {
        SimulatedDriveConfig config;
        config.supportsAudioMode = hasAudioMode;
        ApplyWindow w(config, 0);
        ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
        ASSERT_TRUE(w.host.Click(IDC_APPLY));
        EXPECT_EQ(w.CountWrites(kSpeedPage), 1);
        EXPECT_EQ(w.CountWrites(kAudioPage), 0);
        EXPECT_EQ(w.BoxTexts(),
                  std::vector<std::string>{"Cannot setting Audio Optimized Write Mode\r\nIf the "
                                           "disc is in the drive, please eject"});
        EXPECT_EQ(w.drive->SettingsPage()[19], 1);
        EXPECT_EQ(w.LogAfterTicks(5), "") << hasAudioMode;
    }
}

TEST(AudioReadiness, ReadyWithoutTheAudioModeWritesOnlyTheSpeed) {
    SimulatedDriveConfig config;
    config.supportsAudioMode = false;
    ApplyWindow w(config, 1);
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountWrites(kSpeedPage), 1);
    EXPECT_EQ(w.CountOpcode(0x3B), 1);
    EXPECT_EQ(w.LogAfterTicks(5), "complete");
}

TEST(Restore, WritesTheFactoryValuesSavedAndShowsOnlyDefaultSetting) {
    SimulatedDriveConfig config;
    config.optimalSpeed = 1;
    config.audioMode = 1;
    ApplyWindow w(config);
    ASSERT_EQ(w.host.GetCheck(IDC_SPEED_ON), 1);
    ASSERT_TRUE(w.host.Click(IDC_RESTORE_DEFAULT));

    EXPECT_EQ(w.host.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_EQ(w.host.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(w.host.GetCheck(IDC_SAVE_SPEED), 1);
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_HIGH), 1);
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_LOW), 0);
    EXPECT_EQ(w.host.GetCheck(IDC_SAVE_AUDIO), 1);
    const auto page = w.drive->SettingsPage();
    for (int index : {19, 20, 22, 23}) {
        EXPECT_EQ(page[index], 0) << index;
    }
    w.host.TickTimers(1);
    EXPECT_EQ(w.host.Text(IDC_LOG_EDIT), "default setting");
    EXPECT_EQ(w.LogAfterTicks(5), "default setting");
    // The description follows the button the restore checked, as a click on it would set it.
    EXPECT_EQ(w.host.Text(IDC_AUDIO_DESCRIPTION), w.host.LoadText(IDS_HIGH_SPEED_DESCRIPTION));
}

TEST(Restore, AFailedRestoreShowsNoDefaultSetting) {
    SimulatedDriveConfig config;
    config.optimalSpeed = 1;
    config.audioMode = 1;
    ApplyWindow w(config);
    w.drive->SetWritesIgnored(true);
    ASSERT_TRUE(w.host.Click(IDC_RESTORE_DEFAULT));
    EXPECT_EQ(w.CountWrites(kSpeedPage), 6);
    EXPECT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.LogAfterTicks(5),
              "Cannot setting Audio Optimized Write Mode\r\nIf the disc is in "
              "the drive, please eject");
}

// With a disc in, the probe's last command succeeds; that alone must not read as "complete"
// when nothing was written.
TEST(NeitherSetting, RestoreChangesNoControlAndNothingIsWrittenOrReportedAsDone) {
    SimulatedDriveConfig config = WithDisc();
    config.supportsOptimalSpeed = false;
    config.supportsAudioMode = false;
    ApplyWindow w(config, 1);
    w.Check(IDC_SPEED_ON, 1);
    w.Check(IDC_AUDIO_LOW, 1);
    ASSERT_TRUE(w.host.Click(IDC_RESTORE_DEFAULT));
    EXPECT_EQ(w.host.GetCheck(IDC_SPEED_ON), 1);
    EXPECT_EQ(w.host.GetCheck(IDC_SPEED_OFF), 0);
    EXPECT_EQ(w.host.GetCheck(IDC_SAVE_SPEED), 0);
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_LOW), 1);
    EXPECT_EQ(w.host.GetCheck(IDC_AUDIO_HIGH), 0);
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountOpcode(0x3B), 0);
    EXPECT_EQ(w.CountOpcode(0x1B), 0);
    EXPECT_EQ(w.LogAfterTicks(5), "");
}

// A failed Check setting leaves the flags saying "not supported" while the controls still show
// the user's choice: Apply then writes nothing and must not claim it did.
TEST(NeitherSetting, FlagsLostToAFailedReadWriteNothingAndReportNoSuccess) {
    ApplyWindow w(WithDisc(), 1);
    ASSERT_TRUE(w.host.Click(IDC_SPEED_ON));
    w.drive->AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb).Times(1));
    ASSERT_TRUE(w.host.Click(IDC_CHECK_SETTING));
    EXPECT_EQ(w.LogAfterTicks(5), "unexpected error");
    ASSERT_TRUE(w.host.Click(IDC_APPLY));
    EXPECT_EQ(w.CountOpcode(0x3B), 0);
    EXPECT_EQ(w.drive->SettingsPage()[19], 0);
    EXPECT_EQ(w.LogAfterTicks(5), "");
}

}  // namespace
