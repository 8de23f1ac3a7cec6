#include "sim/simulated_drive.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/sim/sim_test_support.h"

namespace {

SimReply Tur(SimulatedDrive& drive) {
    return SendCommand(drive, {0x00}, 2, 0);
}

// --- The two write pages -------------------------------------------------------------------

TEST(SimulatedDriveWritePages, SpeedPageSetsCurrentAndSavedOnlyWhenAsked) {
    SimulatedDrive drive;
    EXPECT_EQ(WriteSpeed(drive, 1, 0).status, kScsiStatusGood);
    auto page = drive.SettingsPage();
    EXPECT_EQ(page[19], 1);
    EXPECT_EQ(page[20], 0);
    EXPECT_EQ(WriteSpeed(drive, 1, 1).status, kScsiStatusGood);
    page = drive.SettingsPage();
    EXPECT_EQ(page[19], 1);
    EXPECT_EQ(page[20], 1);
    // Read back through READ BUFFER F4h mode 1, as the program verifies.
    SimReply read = ReadSettingsPage(drive);
    EXPECT_EQ(read.dataInBytes, 256u);
    EXPECT_EQ(read.data[18], 1);
    EXPECT_EQ(read.data[19], 1);
    EXPECT_EQ(read.data[20], 1);
}

TEST(SimulatedDriveWritePages, AudioPageSetsBytes22And23) {
    SimulatedDrive drive;
    EXPECT_EQ(WriteAudio(drive, 1, 0).status, kScsiStatusGood);
    EXPECT_EQ(drive.SettingsPage()[22], 1);
    EXPECT_EQ(drive.SettingsPage()[23], 0);
    EXPECT_EQ(WriteAudio(drive, 1, 1).status, kScsiStatusGood);
    EXPECT_EQ(drive.SettingsPage()[23], 1);
    EXPECT_EQ(drive.SettingsPage()[19], 0) << "the speed bytes are not touched";
}

TEST(SimulatedDriveWritePages, AudioChangeRefusedWhileADiscIsIn) {
    SimulatedDriveConfig config;
    config.disc = DiscState::kPresent;
    SimulatedDrive drive(config);
    EXPECT_EQ(ReadSettingsPage(drive, 0).data[24], 0);
    SimReply reply = WriteAudio(drive, 1, 1);
    EXPECT_EQ(reply.status, kScsiStatusCheckCondition);
    EXPECT_EQ(reply.Sense(), kSenseCommandSequenceError);
    EXPECT_EQ(drive.SettingsPage()[22], 0);
    EXPECT_EQ(drive.SettingsPage()[23], 0);
    // The speed may still be changed with a disc in.
    EXPECT_EQ(WriteSpeed(drive, 1, 0).status, kScsiStatusGood);
    // A forced ready byte of 1 lets the audio change through.
    drive.ForceReadyByte(1);
    EXPECT_EQ(WriteAudio(drive, 1, 0).status, kScsiStatusGood);
    EXPECT_EQ(drive.SettingsPage()[22], 1);
}

TEST(SimulatedDriveWritePages, RefusesUnsupportedSettingsAndMalformedWrites) {
    SimulatedDriveConfig config;
    config.supportsOptimalSpeed = false;
    SimulatedDrive drive(config);
    EXPECT_EQ(WriteSpeed(drive, 1, 1).Sense(), kSenseInvalidFieldInParameterList);
    EXPECT_EQ(WritePage(drive, 7, 0, 1, 1).Sense(), kSenseInvalidFieldInParameterList);
    EXPECT_EQ(WritePage(drive, 9, 0x80, 1, 1).Sense(), kSenseInvalidFieldInParameterList);
    EXPECT_EQ(WritePage(drive, 2, 0x00, 1, 1).Sense(), kSenseInvalidFieldInParameterList);
    std::vector<uint8_t> page(256, 0);
    page[0] = 2;
    page[1] = 0x80;
    page[2] = 1;
    EXPECT_EQ(SendCommand(drive, {0x3B, 0x01, 0xF4, 0, 0, 0, 0, 0x01, 0}, 0, 256, page).Sense(),
              kSenseInvalidFieldInCdb)
        << "wrong buffer id";
    EXPECT_EQ(SendCommand(drive, {0x3B, 0x02, 0xFA, 0, 0, 0, 0, 0x01, 0}, 0, 256, page).Sense(),
              kSenseInvalidFieldInCdb)
        << "wrong mode";
    EXPECT_EQ(SendCommand(drive, {0x3B, 0x01, 0xFA, 0, 0, 0, 0, 0, 3}, 0, 256, page).Sense(),
              kSenseParameterListLength)
        << "parameter list shorter than the page head";
    EXPECT_EQ(SendCommand(drive, {0x3B, 0x01, 0xFA, 0, 0, 0, 0, 0x01, 0}, 1, 256, page).Sense(),
              kSenseParameterListLength)
        << "declared as data-in: no data reaches the drive";
    auto after = drive.SettingsPage();
    EXPECT_EQ(after[19], 0);
    EXPECT_EQ(after[22], 0);
}

TEST(SimulatedDriveWritePages, IgnoredWritesAndStuckSavedBytes) {
    SimulatedDrive drive;
    drive.SetWritesIgnored(true);
    EXPECT_EQ(WriteSpeed(drive, 1, 1).status, kScsiStatusGood);
    EXPECT_EQ(drive.SettingsPage()[19], 0);
    drive.SetWritesIgnored(false);
    drive.SetSavedBytesStuck(true);
    EXPECT_EQ(WriteSpeed(drive, 1, 1).status, kScsiStatusGood);
    EXPECT_EQ(WriteAudio(drive, 1, 1).status, kScsiStatusGood);
    auto page = drive.SettingsPage();
    EXPECT_EQ(page[19], 1);
    EXPECT_EQ(page[20], 0);
    EXPECT_EQ(page[22], 1);
    EXPECT_EQ(page[23], 0);
}

// --- Faults ---------------------------------------------------------------------------------

TEST(SimulatedDriveFaults, AlwaysFailsOnlyTheSelectedCommandAndHasNoEffect) {
    SimulatedDrive drive;
    drive.AddFault(Failing(0x3B, kSenseBecomingReady));
    for (int i = 0; i < 3; ++i) {
        SimReply reply = WriteSpeed(drive, 1, 1);
        EXPECT_EQ(reply.status, kScsiStatusCheckCondition);
        EXPECT_EQ(reply.Sense(), kSenseBecomingReady);
        EXPECT_EQ(reply.sense[0], 0x70);
        EXPECT_EQ(reply.sense[7], 10);
    }
    EXPECT_EQ(drive.SettingsPage()[19], 0) << "a failed write changes nothing";
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusGood);
    drive.ClearFaults();
    EXPECT_EQ(WriteSpeed(drive, 1, 1).status, kScsiStatusGood);
}

TEST(SimulatedDriveFaults, TimesFailsTheNextCallsThenRecovers) {
    SimulatedDrive drive;
    ReadSettingsPage(drive);  // calls before the fault do not count
    drive.AddFault(Failing(0x3C, SenseTriple{0x06, 0x29, 0x00}).Times(2));
    EXPECT_EQ(ReadSettingsPage(drive).Sense(), (SenseTriple{0x06, 0x29, 0x00}));
    EXPECT_EQ(Tur(drive).Sense(), kSenseNoMediumTrayClosed) << "other opcodes unaffected";
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusCheckCondition);
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusGood);
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusGood);
}

TEST(SimulatedDriveFaults, OnCallFailsExactlyThatCallCountedFromTheFault) {
    SimulatedDrive drive;
    ReadSettingsPage(drive);
    drive.AddFault(Failing(0x3C, kSenseInvalidFieldInCdb).OnCall(2));
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusGood);
    EXPECT_EQ(ReadSettingsPage(drive).Sense(), kSenseInvalidFieldInCdb);
    EXPECT_EQ(ReadSettingsPage(drive).status, kScsiStatusGood);
}

TEST(SimulatedDriveFaults, MatchSelectsBufferAndModeAndStatusIsChosen) {
    SimulatedDrive drive;
    drive.AddFault(Failing(CommandMatch(0x3C, 0xF4, 0), SenseTriple{}, 0x08));  // BUSY, no sense
    SimReply poll = ReadSettingsPage(drive, 0);
    EXPECT_EQ(poll.status, 0x08);
    EXPECT_EQ(poll.dataInBytes, 0u);
    EXPECT_EQ(poll.data[24], 0xEE) << "no reply data on failure";
    EXPECT_EQ(ReadSettingsPage(drive, 1).status, kScsiStatusGood);
    EXPECT_EQ(SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30}, 1, 48).status,
              kScsiStatusGood);
}

// A drive or USB bridge may answer GOOD with fewer bytes than asked: the rest of the buffer stays
// as it was, and the byte count says so.
TEST(SimulatedDriveFaults, AShortReplyIsGoodButStopsAfterItsBytes) {
    SimulatedDrive drive;
    drive.SetSettingsByte(22, 1);
    drive.AddFault(ShortReply({0x3C, 0xF4, 1}, 20).Times(1));
    SimReply reply = ReadSettingsPage(drive);
    EXPECT_EQ(reply.status, kScsiStatusGood);
    EXPECT_EQ(reply.dataInBytes, 20u);
    EXPECT_EQ(reply.data[19], 0);
    EXPECT_EQ(reply.data[22], 0xEE) << "not delivered";
    EXPECT_EQ(ReadSettingsPage(drive).dataInBytes, 256u);
}

TEST(SimulatedDriveRecord, ALimitKeepsOnlyTheLatestCommands) {
    SimulatedDrive drive;
    drive.SetRecordLimit(3);
    for (int i = 0; i < 10; ++i) {
        ReadSettingsPage(drive, i % 2);
    }
    const auto received = drive.Received();
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received.back().cdb[1], 1);
    EXPECT_EQ(received.front().cdb[1], 1) << "the 8th command of ten";
}

// --- Disc states ----------------------------------------------------------------------------

struct DiscCase {
    DiscState state;
    uint8_t status;
    SenseTriple sense;
    uint8_t mediaStatus;  // GET EVENT STATUS NOTIFICATION byte 5
    uint8_t ready;
};

class SimulatedDriveDiscStates : public ::testing::TestWithParam<DiscCase> {};

TEST_P(SimulatedDriveDiscStates, DiscCommandsAnswerWithTheStatesSense) {
    const DiscCase c = GetParam();
    SimulatedDriveConfig config;
    config.disc = c.state;
    SimulatedDrive drive(config);
    const std::vector<std::vector<uint8_t>> discCommands = {{0x00},
                                                            {0x43, 0, 0, 0, 0, 0, 1, 0, 0x30},
                                                            {0x51, 0, 0, 0, 0, 0, 0, 0, 0x22},
                                                            {0x52, 0, 0, 0, 0, 0, 0, 0, 0x64}};
    for (const auto& bytes : discCommands) {
        std::array<uint8_t, 16> cdb{};
        std::copy(bytes.begin(), bytes.end(), cdb.begin());
        std::vector<uint8_t> data(256, 0);
        uint8_t sense[18] = {};
        ScsiCommand command;
        command.cdb = cdb.data();
        command.cdbLength = 10;
        command.dataIn = bytes[0] == 0 ? 2 : 1;
        command.data = data.data();
        command.transferLength = bytes[0] == 0 ? 0 : 100;
        EXPECT_EQ(drive.Execute(command, sense), c.status) << "opcode " << int{bytes[0]};
        if (c.status != kScsiStatusGood) {
            EXPECT_EQ((SenseTriple{sense[2], sense[12], sense[13]}), c.sense);
        }
    }
    SimReply event = SendCommand(drive, {0x4A, 0, 0, 0, 0x10, 0, 0, 0, 0x08}, 1, 8);
    EXPECT_EQ(event.status, kScsiStatusGood);
    EXPECT_EQ(event.dataInBytes, 8u);
    EXPECT_EQ(event.data[5], c.mediaStatus);
    EXPECT_EQ(ReadSettingsPage(drive, 0).data[24], c.ready);
    EXPECT_EQ(drive.ReadyByte(), c.ready);
}

INSTANTIATE_TEST_SUITE_P(
    AllStates, SimulatedDriveDiscStates,
    ::testing::Values(
        DiscCase{DiscState::kNone, kScsiStatusCheckCondition, kSenseNoMediumTrayClosed, 0x00, 1},
        DiscCase{DiscState::kTrayOpen, kScsiStatusCheckCondition, kSenseNoMediumTrayOpen, 0x01, 1},
        DiscCase{DiscState::kPresent, kScsiStatusGood, SenseTriple{}, 0x02, 0},
        DiscCase{DiscState::kBecomingReady, kScsiStatusCheckCondition, kSenseBecomingReady, 0x02,
                 0}));

TEST(SimulatedDriveDisc, StartStopUnitStopsEjectsAndLoads) {
    SimulatedDriveConfig config;
    config.disc = DiscState::kBecomingReady;
    SimulatedDrive drive(config);
    EXPECT_EQ(SendCommand(drive, {0x1B, 0, 0, 0, 0}, 2, 0).Sense(), kSenseBecomingReady);
    drive.SetDiscState(DiscState::kPresent);
    EXPECT_EQ(SendCommand(drive, {0x1B, 0, 0, 0, 0}, 2, 0).status, kScsiStatusGood);
    EXPECT_EQ(drive.GetDiscState(), DiscState::kPresent) << "a stop does not remove the disc";
    SendCommand(drive, {0x1B, 0, 0, 0, 0x02}, 2, 0);
    EXPECT_EQ(drive.GetDiscState(), DiscState::kTrayOpen);
    SendCommand(drive, {0x1B, 0, 0, 0, 0x03}, 2, 0);
    EXPECT_EQ(drive.GetDiscState(), DiscState::kPresent);
}

TEST(SimulatedDriveDisc, ShortEventReplyLeavesTheRestOfTheBuffer) {
    SimulatedDriveConfig config;
    config.disc = DiscState::kNone;
    SimulatedDrive drive(config);
    SimReply event = SendCommand(drive, {0x4A, 0, 0, 0, 0x10, 0, 0, 0, 0x04}, 1, 8, {}, 0xFF);
    EXPECT_EQ(event.dataInBytes, 4u);
    EXPECT_EQ(event.data[5], 0xFF);
    config.eventRequiresPolled = true;
    SimulatedDrive strict(config);
    EXPECT_EQ(SendCommand(strict, {0x4A, 0, 0, 0, 0x10, 0, 0, 0, 8}, 1, 8).Sense(),
              kSenseInvalidFieldInCdb);
    EXPECT_EQ(SendCommand(strict, {0x4A, 1, 0, 0, 0x10, 0, 0, 0, 8}, 1, 8).status, kScsiStatusGood);
}

// --- Identification -------------------------------------------------------------------------

TEST(SimulatedDriveIdentity, ModelBufferAndInquiryCarryTheConfiguredTexts) {
    SimulatedDriveConfig config;
    config.modelText = std::string("ABC\0", 4) + "7305KT52    ";
    config.inquiryTail = "XYZ";
    SimulatedDrive drive(config);
    SimReply model = SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30}, 1, 64);
    EXPECT_EQ(model.dataInBytes, 48u);
    EXPECT_EQ(std::string(model.data.begin() + 16, model.data.begin() + 32),
              std::string("ABC\0", 4) + "7305KT52    ");
    EXPECT_EQ(model.data[32], 0);
    EXPECT_EQ(model.data[48], 0xEE) << "nothing beyond the 48 bytes";

    SimReply inquiry = SendCommand(drive, {0x12, 0, 0, 0, 0xFE}, 1, 254);
    EXPECT_EQ(inquiry.dataInBytes, 96u);
    EXPECT_EQ(inquiry.data[0], 0x05);
    EXPECT_EQ(std::string(inquiry.data.begin() + 8, inquiry.data.begin() + 39),
              "VELMORA CD-R DRIVE      1.00XYZ");
    SimReply shortInquiry = SendCommand(drive, {0x12, 0, 0, 0, 0x10}, 1, 254);
    EXPECT_EQ(shortInquiry.dataInBytes, 16u) << "allocation length bounds the reply";
}

TEST(SimulatedDriveIdentity, DrivesThatDoNotAnswer) {
    SimulatedDriveConfig config;
    config.answersInquiry = false;
    config.answersModelBuffer = false;
    SimulatedDrive drive(config);
    SimReply inquiry = SendCommand(drive, {0x12, 0, 0, 0, 0xFE}, 1, 254);
    EXPECT_EQ(inquiry.status, kScsiStatusGood);
    EXPECT_EQ(inquiry.dataInBytes, 0u);
    EXPECT_EQ(SendCommand(drive, {0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30}, 1, 48).Sense(),
              kSenseInvalidFieldInCdb);
    EXPECT_EQ(SendCommand(drive, {0xBE}).Sense(), kSenseInvalidOpcode);
}

TEST(SimulatedDriveIdentity, RequestSenseReturnsTheLastFailureOnce) {
    SimulatedDrive drive;
    Tur(drive);
    SimReply first = SendCommand(drive, {0x03, 0, 0, 0, 22}, 1, 22);
    EXPECT_EQ(first.dataInBytes, 18u);
    EXPECT_EQ((SenseTriple{first.data[2], first.data[12], first.data[13]}),
              kSenseNoMediumTrayClosed);
    SimReply second = SendCommand(drive, {0x03, 0, 0, 0, 22}, 1, 22);
    EXPECT_EQ(second.data[2], 0);
    EXPECT_EQ(second.data[12], 0);
}

// --- Record of commands, observer, threads --------------------------------------------------

TEST(SimulatedDriveRecord, RecordsEveryCommandAsReceived) {
    SimulatedDrive drive;
    WriteSpeed(drive, 1, 1);
    Tur(drive);
    std::vector<ReceivedCommand> received = drive.Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0].cdb[0], 0x3B);
    EXPECT_EQ(received[0].cdb[2], 0xFA);
    EXPECT_EQ(received[0].cdbLength, 12);
    EXPECT_EQ(received[0].dataIn, 0);
    EXPECT_EQ(received[0].transferLength, 256u);
    EXPECT_EQ(received[0].timeoutSeconds, 10u);
    ASSERT_EQ(received[0].dataOut.size(), 256u);
    EXPECT_EQ(received[0].dataOut[0], 9);
    EXPECT_EQ(received[0].dataOut[3], 1);
    EXPECT_EQ(received[1].scsiStatus, kScsiStatusCheckCondition);
    EXPECT_EQ(received[1].sense, kSenseNoMediumTrayClosed);
    drive.ClearReceived();
    EXPECT_EQ(drive.ReceivedCount(), 0u);
}

TEST(SimulatedDriveRecord, ObserverSeesTheAnswerAndMayChangeTheDrive) {
    SimulatedDrive drive;
    std::vector<uint8_t> statuses;
    drive.SetObserver([&](const ReceivedCommand& command) {
        statuses.push_back(command.scsiStatus);
        drive.SetDiscState(DiscState::kPresent);  // calling back must not deadlock
    });
    EXPECT_EQ(Tur(drive).status, kScsiStatusCheckCondition);
    EXPECT_EQ(Tur(drive).status, kScsiStatusGood);
    EXPECT_EQ(statuses, (std::vector<uint8_t>{2, 0}));
}

TEST(SimulatedDriveThreads, PausedCommandWaitsUntilResumed) {
    SimulatedDrive drive;
    drive.PauseCommands();
    std::atomic<bool> done{false};
    std::thread sender([&] {
        ReadSettingsPage(drive);
        done = true;
    });
    while (drive.PausedCommandCount() == 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(done);
    EXPECT_EQ(drive.ReceivedCount(), 0u);
    drive.ResumeCommands();
    sender.join();
    EXPECT_TRUE(done);
    EXPECT_EQ(drive.ReceivedCount(), 1u);
}

TEST(SimulatedDriveThreads, LatencyDelaysOnlyTheSelectedCommand) {
    SimulatedDrive drive;
    drive.SetCommandLatency(CommandMatch(0x3C, 0xF4, 0), 60000);
    auto start = std::chrono::steady_clock::now();
    ReadSettingsPage(drive, 0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(60));
    // A slow command does not hold up the others: it sleeps without the drive's lock.
    std::thread slow([&] { ReadSettingsPage(drive, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    start = std::chrono::steady_clock::now();
    Tur(drive);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
    slow.join();
}

TEST(SimulatedDriveThreads, CommandsFromManyThreadsWhileTheStateChanges) {
    SimulatedDrive drive;
    std::atomic<bool> stop{false};
    std::vector<std::thread> senders;
    for (int t = 0; t < 3; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                (t == 0 ? WriteSpeed(drive, static_cast<uint8_t>(i & 1), 1)
                        : ReadSettingsPage(drive, static_cast<uint8_t>(t - 1)));
            }
        });
    }
    std::thread changer([&] {
        while (!stop) {
            drive.SetDiscState(DiscState::kPresent);
            drive.SetDiscState(DiscState::kNone);
            drive.AddFault(Failing(0x00, kSenseBecomingReady).Times(1));
            drive.ClearFaults();
            (void)drive.Received();
        }
    });
    for (auto& sender : senders) {
        sender.join();
    }
    stop = true;
    changer.join();
    EXPECT_EQ(drive.ReceivedCount(), 600u);
}

}  // namespace
