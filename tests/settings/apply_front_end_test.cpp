// Apply and Restore through a plain front end, with no window in the link: the choice decides
// what is written, alerts and status lines come back by string id, and the result tells each
// setting's outcome.
#include <gtest/gtest.h>

#include <cerrno>

#include "settings/apply_settings.h"
#include "settings/current_settings.h"
#include "tests/settings/settings_rig.h"

namespace {

class ApplyFrontEnd : public SettingsRig {
protected:
    void SetUp() override {
        SettingsRig::SetUp();
        ReadCurrentSettings(context);  // the supported flags, as the front end's first read
        drive.ClearReceived();
        frontEnd.ids.clear();  // the report's lines; the apply's come after
    }
    int PageReads() const { return CountCommands(0x3C, 0xF4); }
    int CountCommands(uint8_t opcode, uint8_t bufferId) const {
        int count = 0;
        for (const ReceivedCommand& command : drive.Received()) {
            count += command.cdb[0] == opcode && command.cdb[2] == bufferId ? 1 : 0;
        }
        return count;
    }
    int Writes(uint8_t kind) const {
        int count = 0;
        for (const ReceivedCommand& command : drive.Received()) {
            count += command.cdb[0] == 0x3B && command.dataOut.at(0) == kind ? 1 : 0;
        }
        return count;
    }
};

TEST_F(ApplyFrontEnd, OnlyTheRequestedSettingIsWrittenAndItsOutcomeReturned) {
    frontEnd.speed = SettingChoice{true, 1, 1};
    frontEnd.audio = SettingChoice{false, 1, 0};
    const ApplyResult result = ApplySettings(context);
    EXPECT_EQ(Writes(9), 1);
    EXPECT_EQ(Writes(2), 0);
    EXPECT_EQ(result.optimalSpeed, SettingOutcome::kConfirmed);
    EXPECT_EQ(result.audioMode, SettingOutcome::kNotWritten);
    EXPECT_EQ(result.speedWrites, 1);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(frontEnd.ids, std::vector<int>{IDS_COMPLETE});
    EXPECT_EQ(drive.SettingsPage()[20], 1);
}

TEST_F(ApplyFrontEnd, FailuresComeBackAsAlertsAndOutcomes) {
    drive.SetWritesIgnored(true);
    frontEnd.speed = SettingChoice{true, 1, 0};
    frontEnd.audio = SettingChoice{true, 1, 0};
    readiness.ready = 0;
    const ApplyResult result = ApplySettings(context);
    EXPECT_EQ(result.speedWrites, 6);
    EXPECT_EQ(result.optimalSpeed, SettingOutcome::kNotConfirmed);
    EXPECT_EQ(result.audioMode, SettingOutcome::kNotReady);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(frontEnd.alerts, (std::vector<int>{IDS_SPEED_SET_FAILED, IDS_AUDIO_SET_FAILED}));
    EXPECT_EQ(apply.applySucceeded, 0);
}

TEST_F(ApplyFrontEnd, RestoreChoosesTheFactoryValuesAndSavesThem) {
    drive.SetSettingsByte(19, 1);
    drive.SetSettingsByte(22, 1);
    const ApplyResult result = RestoreFactoryDefault(context);
    EXPECT_TRUE(result.succeeded);
    EXPECT_EQ(frontEnd.ids, std::vector<int>{IDS_DEFAULT_SETTING});
    const auto page = drive.SettingsPage();
    for (int index : {19, 20, 22, 23}) {
        EXPECT_EQ(page[index], 0) << index;
    }
}

constexpr int kRefusalAlert = 4242;

// The kernel's command filter refuses WRITE BUFFER: the write is still read back, then the front
// end's alert ends the apply: no retry, no audio write, no success.
TEST_F(ApplyFrontEnd, ARefusedWriteIsReadBackThenTheFrontEndsAlertEndsTheApply) {
    transport.FailCommands("E:", 0x3B, EPERM);
    frontEnd.refusalAnswer = kRefusalAlert;
    frontEnd.speed = SettingChoice{true, 1, 0};
    frontEnd.audio = SettingChoice{true, 1, 0};
    const ApplyResult result = ApplySettings(context);
    EXPECT_EQ(result.speedWrites, 1);
    EXPECT_EQ(result.optimalSpeed, SettingOutcome::kRefused);
    EXPECT_EQ(result.audioMode, SettingOutcome::kNotWritten);
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(apply.applySucceeded, 0);
    EXPECT_EQ(frontEnd.refusals, std::vector<int>{EPERM});
    EXPECT_EQ(frontEnd.alerts, std::vector<int>{kRefusalAlert});
    EXPECT_TRUE(frontEnd.ids.empty());
    EXPECT_EQ(CountCommands(0x3B, 0xFA), 0);          // nothing reached the drive
    EXPECT_EQ(PageReads(), 1);                        // but the read-back did
    EXPECT_EQ(drive.Received().back().cdb[0], 0x3C);  // the last command: the read-back

    // Only the audio mode asked for: its refusal is alerted once.
    frontEnd.alerts.clear();
    frontEnd.speed.requested = false;
    const ApplyResult audioOnly = ApplySettings(context);
    EXPECT_EQ(audioOnly.audioMode, SettingOutcome::kRefused);
    EXPECT_EQ(frontEnd.alerts, std::vector<int>{kRefusalAlert});
    EXPECT_FALSE(audioOnly.succeeded);
}

// The Windows window's answer: a refused write is one more unconfirmed write.
TEST_F(ApplyFrontEnd, ARefusalTheFrontEndLetsGoOnIsRetriedAndAlertedAsBefore) {
    transport.FailCommands("E:", 0x3B, EPERM);
    frontEnd.speed = SettingChoice{true, 1, 0};
    frontEnd.audio = SettingChoice{true, 1, 0};
    const ApplyResult result = ApplySettings(context);
    EXPECT_EQ(result.speedWrites, 6);
    EXPECT_EQ(result.optimalSpeed, SettingOutcome::kNotConfirmed);
    EXPECT_EQ(result.audioMode, SettingOutcome::kNotConfirmed);
    EXPECT_EQ(frontEnd.refusals.size(), 7u);
    EXPECT_EQ(frontEnd.alerts, std::vector<int>{IDS_SPEED_SET_FAILED});
    EXPECT_EQ(frontEnd.ids, std::vector<int>{IDS_AUDIO_SET_FAILED});
    EXPECT_FALSE(result.succeeded);
}

// Only the read-back proves a value: one the drive already holds is confirmed by it, refusal or
// not, and nobody is asked.
TEST_F(ApplyFrontEnd, AValueTheDriveAlreadyHoldsIsConfirmedByItsReadBack) {
    transport.FailCommands("E:", 0x3B, EPERM);
    frontEnd.refusalAnswer = kRefusalAlert;
    frontEnd.speed = SettingChoice{true, 0, 0};
    frontEnd.audio.requested = false;
    const ApplyResult result = ApplySettings(context);
    EXPECT_EQ(result.optimalSpeed, SettingOutcome::kConfirmed);
    EXPECT_TRUE(frontEnd.refusals.empty());
    EXPECT_TRUE(frontEnd.alerts.empty());
}

// The drive went away after discovery: every command fails in the system. Nothing is reported as
// done, and a refusal is not what the user is told.
TEST_F(ApplyFrontEnd, ADriveThatVanishedFailsWithTheUsualWordsAndNoSuccess) {
    transport.FailCommands("E:", -1, ENODEV);
    frontEnd.refusalAnswer = kRefusalAlert;
    frontEnd.speed = SettingChoice{true, 1, 0};
    frontEnd.audio.requested = false;
    const ApplyResult unsaved = ApplySettings(context);
    EXPECT_EQ(unsaved.speedWrites, 6);
    EXPECT_FALSE(unsaved.succeeded);
    EXPECT_EQ(frontEnd.alerts, std::vector<int>{IDS_SPEED_SET_FAILED});
    EXPECT_TRUE(frontEnd.refusals.empty());

    frontEnd.speed.save = 1;  // the probe cannot rule a disc out: the stop comes first, and fails
    const ApplyResult saved = ApplySettings(context);
    EXPECT_EQ(saved.discStop, DiscStopOutcome::kFailed);
    EXPECT_EQ(saved.speedWrites, 0);
    EXPECT_EQ(frontEnd.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    EXPECT_FALSE(saved.succeeded);
    EXPECT_EQ(drive.ReceivedCount(), 0u);
}

}  // namespace
