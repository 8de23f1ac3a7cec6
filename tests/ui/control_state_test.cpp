// The setting controls mirroring the drive's page, the switch-everything-off form, a failed read,
// and the audio-mode description.
#include <gtest/gtest.h>

#include "dialog/dialog.h"
#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "tests/settings/settings_rig.h"
#include "ui/control_state.h"

namespace {

constexpr int kNineControls[] = {IDC_APPLY,      IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING,
                                 IDC_SPEED_ON,   IDC_SPEED_OFF,       IDC_SAVE_SPEED,
                                 IDC_AUDIO_HIGH, IDC_AUDIO_LOW,       IDC_SAVE_AUDIO};

// The settings rig with the main window's template open on the in-memory backend.
class ControlState : public SettingsRig {
protected:
    void SetUp() override {
        SettingsRig::SetUp();
        ASSERT_TRUE(host.Open(window));
    }

    MemoryDialogHost host{GeneratedResourceCatalog()};
    CDialog window{IDD_MAIN, host};
};

TEST_F(ControlState, DisableAllSwitchesTheNineOffWithoutTouchingTheDrive) {
    window.SetCheck(IDC_SPEED_ON, 1);
    window.SetControlText(IDC_AUDIO_DESCRIPTION, "kept");
    drive.ClearReceived();
    UpdateControls(context, window, 1);
    for (int id : kNineControls) {
        EXPECT_FALSE(host.IsEnabled(id)) << id;
    }
    EXPECT_TRUE(host.IsEnabled(IDC_DRIVE_COMBO));
    EXPECT_EQ(host.GetCheck(IDC_SPEED_ON), 1);
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), "kept");
    EXPECT_EQ(drive.ReceivedCount(), 0u);
    EXPECT_TRUE(log.ids.empty());
}

TEST_F(ControlState, SpeedOffWithSaveUncheckedAndEverythingEnabled) {
    SetPage({{18, 1}, {19, 0}, {20, 1}, {21, 1}, {22, 0}, {23, 1}});
    window.SetCheck(IDC_SAVE_SPEED, 1);
    window.SetCheck(IDC_SAVE_AUDIO, 1);
    UpdateControls(context, window, 0);
    EXPECT_EQ(host.GetCheck(IDC_SPEED_OFF), 1);
    EXPECT_EQ(host.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_EQ(host.GetCheck(IDC_SAVE_SPEED), 0);  // saved values are never shown
    EXPECT_EQ(host.GetCheck(IDC_AUDIO_HIGH), 1);
    EXPECT_EQ(host.GetCheck(IDC_SAVE_AUDIO), 0);
    for (int id : kNineControls) {
        EXPECT_TRUE(host.IsEnabled(id)) << id;
    }
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), host.LoadText(IDS_HIGH_SPEED_DESCRIPTION));
}

TEST_F(ControlState, LowSpeedPlaybackChecksItsButtonAndShowsItsDescription) {
    SetPage({{21, 1}, {22, 1}});
    UpdateControls(context, window, 0);
    EXPECT_EQ(host.GetCheck(IDC_AUDIO_LOW), 1);
    EXPECT_EQ(host.GetCheck(IDC_AUDIO_HIGH), 0);
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), host.LoadText(IDS_LOW_SPEED_DESCRIPTION));
}

TEST_F(ControlState, UnsupportedSettingsAreDisabledUncheckedAndKeepTheDescription) {
    SetPage({{18, 1}, {19, 1}, {21, 1}, {22, 1}});
    UpdateControls(context, window, 0);
    const std::string description = host.Text(IDC_AUDIO_DESCRIPTION);

    SetPage({{18, 2}, {21, 0}});
    UpdateControls(context, window, 0);
    for (int id : {IDC_SPEED_ON, IDC_SPEED_OFF, IDC_SAVE_SPEED, IDC_AUDIO_HIGH, IDC_AUDIO_LOW,
                   IDC_SAVE_AUDIO}) {
        EXPECT_FALSE(host.IsEnabled(id)) << id;
        EXPECT_EQ(host.GetCheck(id), 0) << id;
    }
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), description);
    EXPECT_TRUE(host.IsEnabled(IDC_APPLY));
}

TEST_F(ControlState, RestoreFactoryDefaultIsHiddenOnlyWhenBytesZeroAndTwoAreBoth255) {
    const struct {
        uint8_t byte0, byte2;
        bool offered;
    } cases[] = {{255, 255, false}, {255, 254, true}, {0, 255, true}, {0, 0, true}};
    for (const auto& c : cases) {
        SetPage({{0, c.byte0}, {2, c.byte2}});
        UpdateControls(context, window, 0);
        EXPECT_EQ(host.IsEnabled(IDC_RESTORE_DEFAULT), c.offered) << int(c.byte0) << int(c.byte2);
        EXPECT_TRUE(host.IsEnabled(IDC_APPLY));
    }
}

// One failed read (a drive held elsewhere, a slow answer) must not take Check setting away for
// the rest of the session: the next good read enables it with the others.
TEST_F(ControlState, AFailedReadDisablesAllNineAndTheNextGoodReadEnablesThemAgain) {
    FailSettingsReads();
    UpdateControls(context, window, 0);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    for (int id : kNineControls) {
        EXPECT_FALSE(host.IsEnabled(id)) << id;
    }

    drive.ClearFaults();
    UpdateControls(context, window, 0);
    for (int id : kNineControls) {
        EXPECT_TRUE(host.IsEnabled(id)) << id;
    }
}

TEST_F(ControlState, AReplyShortOfByte23IsAFailedRead) {
    SetPage({{18, 1}, {19, 0}, {21, 1}, {22, 0}});
    ShortSettingsReadsOver({{18, 1}, {19, 1}, {21, 1}, {22, 1}}, 20);
    UpdateControls(context, window, 0);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    for (int id : kNineControls) {
        EXPECT_FALSE(host.IsEnabled(id)) << id;
    }
    EXPECT_EQ(host.GetCheck(IDC_SPEED_ON), 0);
    EXPECT_EQ(host.GetCheck(IDC_AUDIO_LOW), 0);
}

TEST_F(ControlState, TheDescriptionFollowsTheChosenModeAtOnce) {
    ShowAudioModeDescription(window, AudioMode::kLowSpeedPlayback);
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), host.LoadText(IDS_LOW_SPEED_DESCRIPTION));
    ShowAudioModeDescription(window, AudioMode::kHighSpeedPlayback);
    EXPECT_EQ(host.Text(IDC_AUDIO_DESCRIPTION), host.LoadText(IDS_HIGH_SPEED_DESCRIPTION));
    EXPECT_NE(host.LoadText(IDS_HIGH_SPEED_DESCRIPTION), host.LoadText(IDS_LOW_SPEED_DESCRIPTION));
}

}  // namespace
