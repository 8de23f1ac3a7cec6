// The write pages as the user's choice fills them, what reaches the drive, and the read-back
// that decides whether a write took.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/settings_page.h"
#include "settings/settings_verification.h"
#include "settings/write_pages.h"
#include "tests/settings/settings_rig.h"

namespace {

using WritePages = SettingsRig;

TEST_F(WritePages, EachPageCarriesItsKindAndTheChoiceAsFlags) {
    const WritePage audio = AudioModeWritePage(SettingChoice{true, 1, 1});
    EXPECT_EQ(audio.kind, 2);
    EXPECT_EQ(audio.subkind, 0x80);
    EXPECT_EQ(audio.value, 1);
    EXPECT_EQ(audio.save, 1);
    const WritePage speed = OptimalSpeedWritePage(SettingChoice{true, 2, 7});
    EXPECT_EQ(speed.kind, 9);
    EXPECT_EQ(speed.subkind, 0);
    EXPECT_EQ(speed.value, 0) << "only 1 means ON";
    EXPECT_EQ(speed.save, 0) << "only 1 asks for saving";
}

// Whatever the out buffer held before, the drive gets the four bytes and 252 zeros.
TEST_F(WritePages, TheDriveReceivesAClearedPageWithTheReadsModeAndOffset) {
    std::memset(state.buffers.DataOutBuffer(), 0xEE, 512);
    DriveLock lock(*mutex);
    SettingsPage page;
    ASSERT_EQ(ReadSettingsPage(state, runner, lock, &page), 1);
    drive.ClearReceived();
    EXPECT_EQ(SendWritePage(state, runner, lock, WritePage{9, 0, 1, 1}), kCommandCompleted);

    const auto received = drive.Received();
    ASSERT_EQ(received.size(), 1u);
    std::vector<uint8_t> expected(256, 0);
    expected[0] = 9;
    expected[2] = 1;
    expected[3] = 1;
    EXPECT_EQ(received[0].dataOut, expected);
    EXPECT_EQ(received[0].cdb[1], 0x01);  // mode
    EXPECT_EQ(received[0].cdb[2], 0xFA);
    EXPECT_EQ(drive.SettingsPage()[19], 1);
    EXPECT_EQ(drive.SettingsPage()[20], 1);
}

TEST_F(WritePages, VerificationComparesTheSavedByteOnlyWhenSaveIsOne) {
    SetPage({{19, 1}, {20, 0}, {22, 0}, {23, 1}});
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 0), 1);
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 2), 1);
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 1), 0);
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 0, 0), 0);
    EXPECT_EQ(VerifyAudioMode(context, 0, 0), 1);
    EXPECT_EQ(VerifyAudioMode(context, 0, 1), 0);
    SetPage({{23, 0}});
    EXPECT_EQ(VerifyAudioMode(context, 0, 1), 1);
}

// The reply buffer still holds a page that would confirm the value.
TEST_F(WritePages, AFailedReadBackIsNoConfirmation) {
    SetPage({{19, 1}, {20, 1}});
    ASSERT_EQ(VerifyOptimalWriteSpeed(context, 1, 1), 1);
    FailSettingsReads();
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 1), 0);
}

// The drive did not take the write and its read-back stops short: the stale bytes beyond the
// reply would confirm it. Each verification needs the page up to byte 23.
TEST_F(WritePages, AShortReadBackIsNoConfirmation) {
    ShortSettingsReadsOver({{19, 1}, {20, 1}, {22, 1}, {23, 1}}, 19);
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 1), 0);
    EXPECT_EQ(VerifyAudioMode(context, 1, 1), 0);

    drive.ClearFaults();
    drive.AddFault(ShortReply({0x3C, 0xF4, 1}, 22));  // speed bytes whole, audio bytes not
    SetPage({{19, 1}, {20, 1}});
    state.buffers.DataInBuffer()[22] = state.buffers.DataInBuffer()[23] = 1;
    EXPECT_EQ(VerifyOptimalWriteSpeed(context, 1, 1), 0);
    EXPECT_EQ(VerifyAudioMode(context, 1, 1), 0);
}

}  // namespace
