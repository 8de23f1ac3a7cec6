#include "sim/drive_config_file.h"

#include <gtest/gtest.h>

#include "sim/command_trace.h"
#include "tests/sim/sim_test_support.h"

namespace {

DriveConfigFile Parse(const std::string& text) {
    DriveConfigFile file;
    std::string error;
    EXPECT_TRUE(ParseDriveConfig(text, file, error)) << error;
    return file;
}

TEST(DriveConfigFile, ReadsIdentitySettingsAndDiscState) {
    const DriveConfigFile file = Parse(
        "# a comment\n"
        "model=AB\\x00CD7305KT52    \n"
        "vendor=OTHER   \r\n"
        "answers_inquiry=0\n"
        "speed_supported=0\n"
        "speed=1\n"
        "audio=1\n"
        "audio_saved=0\n"
        "disc=becoming_ready\n"
        "ready=1\n"
        "event_requires_polled=1\n");
    const SimulatedDriveConfig& config = file.config;
    EXPECT_EQ(config.modelText, std::string("AB\0CD7305KT52    ", 17)) << "escapes and spaces kept";
    EXPECT_EQ(config.vendor, "OTHER   ");
    EXPECT_FALSE(config.answersInquiry);
    EXPECT_FALSE(config.supportsOptimalSpeed);
    EXPECT_TRUE(config.supportsAudioMode);
    EXPECT_EQ(config.optimalSpeed, 1);
    EXPECT_EQ(config.optimalSpeedSaved, -1);
    EXPECT_EQ(config.audioMode, 1);
    EXPECT_EQ(config.audioModeSaved, 0);
    EXPECT_EQ(config.disc, DiscState::kBecomingReady);
    EXPECT_EQ(config.forcedReadyByte, 1);
    EXPECT_TRUE(config.eventRequiresPolled);
}

TEST(DriveConfigFile, RefusesWhatItCannotReadNamingTheLine) {
    const char* bad[] = {"speed=2x",
                         "disc=open",
                         "colour=red",
                         "fail=3C sometimes 02/3A/00",
                         "fail=3C always 02-3A-00",
                         "short_reply=3C always -1",
                         "page.256=1",
                         "model=\\q",
                         "noequals"};
    for (const char* line : bad) {
        DriveConfigFile file;
        std::string error;
        EXPECT_FALSE(ParseDriveConfig(std::string("speed=1\n") + line + "\n", file, error)) << line;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    }
}

TEST(DriveConfigFile, LiveSettingsAndPageBytesReachTheDrive) {
    const DriveConfigFile file = Parse(
        "disc=present\n"
        "page.0=255\n"
        "page.2=255\n"
        "saved_stuck=1\n"
        "fail=3C:F4:0 always 04/08/01\n"
        "fail=00 times:1 06/28/00\n"
        "fail=51 call:2 02/04/01 08\n"
        "short_reply=12 always 36\n");
    SimulatedDrive drive(file.config);
    ApplyLiveSettings(file, drive);
    ApplyPageBytes(file, drive);
    EXPECT_EQ(drive.SettingsPage()[0], 255);
    EXPECT_EQ(drive.SettingsPage()[2], 255);
    EXPECT_EQ(ReadSettingsPage(drive, 0).Sense(), (SenseTriple{0x04, 0x08, 0x01}));
    EXPECT_EQ(ReadSettingsPage(drive, 1).status, kScsiStatusGood);
    EXPECT_EQ(SendCommand(drive, {0x00}, 2, 0).Sense(), (SenseTriple{0x06, 0x28, 0x00}));
    EXPECT_EQ(SendCommand(drive, {0x00}, 2, 0).status, kScsiStatusGood);
    const std::initializer_list<uint8_t> discInfo = {0x51, 0, 0, 0, 0, 0, 0, 0, 0x22};
    EXPECT_EQ(SendCommand(drive, discInfo, 1, 34).status, kScsiStatusGood);
    SimReply second = SendCommand(drive, discInfo, 1, 34);
    EXPECT_EQ(second.status, 0x08);
    WriteSpeed(drive, 1, 1);
    EXPECT_EQ(drive.SettingsPage()[20], 0) << "saved_stuck";
    SimReply inquiry = SendCommand(drive, {0x12, 0, 0, 0, 0xFE}, 1, 254);
    EXPECT_EQ(inquiry.status, kScsiStatusGood);
    EXPECT_EQ(inquiry.dataInBytes, 36u) << "short_reply";

    // A rewritten file replaces the faults and the disc state.
    ApplyLiveSettings(Parse("disc=tray_open\n"), drive);
    EXPECT_EQ(ReadSettingsPage(drive, 0).status, kScsiStatusGood);
    EXPECT_EQ(SendCommand(drive, {0x00}, 2, 0).Sense(), kSenseNoMediumTrayOpen);
}

TEST(DriveConfigFile, SavedStateReadsBackIntoAFreshDrive) {
    SimulatedDrive drive;
    WriteSpeed(drive, 1, 1);
    WriteAudio(drive, 1, 0);
    DriveConfigFile file = Parse("disc=present\n");
    std::string error;
    ASSERT_TRUE(ParseDriveConfig(FormatSavedState(drive), file, error)) << error;
    SimulatedDrive restarted(file.config);
    const auto page = restarted.SettingsPage();
    EXPECT_EQ(page[19], 1);
    EXPECT_EQ(page[20], 1);
    EXPECT_EQ(page[22], 1);
    EXPECT_EQ(page[23], 0);
    EXPECT_EQ(restarted.GetDiscState(), DiscState::kPresent) << "the state file keeps no disc";
}

TEST(CommandTrace, OneLinePerCommandWithTheDeclaredCdbLength) {
    SimulatedDrive drive;
    WritePage(drive, 9, 0, 1, 0);
    SendCommand(drive, {0x00}, 2, 0);
    ReadSettingsPage(drive, 0);
    std::vector<ReceivedCommand> received = drive.Received();
    received[1].cdbLength = 6;
    EXPECT_EQ(FormatTraceLine(received[0]),
              "cdb=3B01FA000000000100000000 len=12 dir=out xfer=256 timeout=10 status=00 "
              "sense=00/00/00 out=09000100" +
                  std::string(504, '0'));
    EXPECT_EQ(FormatTraceLine(received[1]),
              "cdb=000000000000 len=6 dir=none xfer=0 timeout=10 status=02 sense=02/3A/01");
    EXPECT_EQ(FormatTraceLine(received[2]),
              "cdb=3C00F4000000000100000000 len=12 dir=in xfer=256 timeout=10 status=00 "
              "sense=00/00/00 in=256");
}

}  // namespace
