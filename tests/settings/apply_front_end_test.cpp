// Apply and Restore through a plain front end, with no window in the link: the choice decides
// what is written, alerts and status lines come back by string id, and the result tells each
// setting's outcome.
#include <gtest/gtest.h>

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

}  // namespace
