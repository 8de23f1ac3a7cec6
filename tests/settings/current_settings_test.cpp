// The current-settings report: which lines each page gives, the supported flags, what it does to
// lines queued before it, and what a failed read reports.
#include <gtest/gtest.h>

#include <cstring>

#include "settings/current_settings.h"
#include "settings/settings_page.h"
#include "tests/drive/recording_transport.h"
#include "tests/settings/settings_rig.h"

namespace {

using CurrentSettings = SettingsRig;

std::vector<int> Report(int speedPiece, int audioPiece) {
    return {IDS_CURRENT_SETTING, IDS_LINE_BREAK,  IDS_SPEED_LABEL, speedPiece,
            IDS_LINE_BREAK,      IDS_AUDIO_LABEL, audioPiece};
}

TEST_F(CurrentSettings, ReadsThePageOnceAndReportsBothSettings) {
    SetPage({{18, 1}, {19, 1}, {21, 1}, {22, 0}});
    drive.ClearReceived();
    ReadCurrentSettings(context);

    EXPECT_EQ(log.ids, Report(IDS_ON, IDS_HIGH_SPEED_MODE));
    EXPECT_EQ(supported.optimalSpeed, 1);
    EXPECT_EQ(supported.audioMode, 1);
    const auto received = drive.Received();
    ASSERT_EQ(received.size(), 1u);
    const std::array<uint8_t, 10> readPage{0x3C, 0x01, 0xF4, 0, 0, 0, 0, 0x01, 0x00, 0};
    EXPECT_TRUE(std::equal(readPage.begin(), readPage.end(), received[0].cdb.begin()));
    EXPECT_EQ(received[0].timeoutSeconds, 10u);
}

TEST_F(CurrentSettings, ValuesOtherThanOneReadAsOffHighSpeedOrNotSupported) {
    SetPage({{18, 1}, {19, 2}, {21, 1}, {22, 2}});
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, Report(IDS_OFF, IDS_HIGH_SPEED_MODE));

    SetPage({{18, 2}, {19, 1}, {21, 1}, {22, 1}});
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, Report(IDS_NOT_SUPPORTED, IDS_LOW_SPEED_MODE));
    EXPECT_EQ(supported.optimalSpeed, 0);
    EXPECT_EQ(supported.audioMode, 1);
}

TEST_F(CurrentSettings, ADriveWithNeitherSettingClearsBothFlags) {
    supported = {1, 1};
    SetPage({{18, 0}, {21, 0}});
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, Report(IDS_NOT_SUPPORTED, IDS_NOT_SUPPORTED));
    EXPECT_EQ(supported.optimalSpeed, 0);
    EXPECT_EQ(supported.audioMode, 0);
}

TEST_F(CurrentSettings, EmptiesTheLogBoxAndDropsLinesQueuedBefore) {
    log.LogAppend(IDS_UNEXPECTED_ERROR);
    ReadCurrentSettings(context);
    EXPECT_EQ(frontEnd.clearedShown, 1);
    EXPECT_EQ(log.ids.front(), IDS_CURRENT_SETTING);
    EXPECT_EQ(log.ids.size(), 7u);
}

// The reply buffer still holds a page that says both settings are supported; a failed read must
// not report it as this drive's.
TEST_F(CurrentSettings, AFailedReadReportsAnErrorNotTheStaleBuffer) {
    SetPage({{18, 1}, {19, 1}, {21, 1}, {22, 1}});
    ReadCurrentSettings(context);
    ASSERT_EQ(supported.audioMode, 1);

    FailSettingsReads();
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    EXPECT_EQ(supported.optimalSpeed, 0);
    EXPECT_EQ(supported.audioMode, 0);
}

// Bytes 18 to 23 beyond a short reply are another command's: no report is made of them.
TEST_F(CurrentSettings, AReplyShortOfByte23IsAFailedRead) {
    supported = {1, 1};
    ShortSettingsReadsOver({{18, 1}, {19, 1}, {21, 1}, {22, 1}}, 23);
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    EXPECT_EQ(supported.optimalSpeed, 0);
    EXPECT_EQ(supported.audioMode, 0);

    drive.ClearFaults();
    drive.AddFault(ShortReply({0x3C, 0xF4, 1}, 24));  // reaches byte 23: a whole read
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, Report(IDS_OFF, IDS_HIGH_SPEED_MODE));
}

// A unit attention (a bus reset, a medium change) is reported once and cleared by it: the read is
// sent once more, and a second one is a failed read, with no third try.
TEST_F(CurrentSettings, AUnitAttentionIsReadOnceMoreButOnlyOnce) {
    SetPage({{18, 1}, {19, 1}, {21, 1}, {22, 0}});
    drive.ClearReceived();
    drive.AddFault(Failing({0x3C, 0xF4, 1}, {0x06, 0x29, 0x00}).Times(1));
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, Report(IDS_ON, IDS_HIGH_SPEED_MODE));
    EXPECT_EQ(drive.ReceivedCount(), 2u);

    drive.ClearReceived();
    drive.AddFault(Failing({0x3C, 0xF4, 1}, {0x06, 0x28, 0x00}));
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    EXPECT_EQ(drive.ReceivedCount(), 2u);
}

TEST_F(CurrentSettings, AClosedDriveReportsAnError) {
    CloseDrive(transport, state.driveHandle);
    supported = {1, 1};
    ReadCurrentSettings(context);
    EXPECT_EQ(log.ids, std::vector<int>{IDS_UNEXPECTED_ERROR});
    EXPECT_EQ(supported.optimalSpeed, 0);
}

// A system that says the whole page came but wrote none of it: the bytes an earlier command left
// in the reply buffer must not come back as the drive's settings.
TEST(SettingsPageRead, TheReplyAreaIsClearedBeforeEachRead) {
    RecordingTransport transport;
    DriveState state{transport};
    ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
    state.driveHandle = RecordingTransport::kOpenHandle;
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    CommandRunner runner{state, *mutex, nullptr};
    std::memset(state.buffers.DataInBuffer(), 1, kSettingsPageSize);  // an earlier reply
    SettingsPage page;
    DriveLock lock(*mutex);
    ASSERT_EQ(ReadSettingsPage(state, runner, lock, &page), 1);
    EXPECT_EQ(page.bytes, SettingsPage{}.bytes);
}

}  // namespace
