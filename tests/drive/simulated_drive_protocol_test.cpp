// The calling protocol and the disc-presence probe against the simulated drive.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_handle.h"
#include "sim/simulated_transport.h"

namespace {

class NullSink : public CommandDoneSink {
public:
    void PostCommandDone() override { ++posted; }
    std::atomic<int> posted{0};
};

class SimulatedProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        drive = &transport.AddDrive('E');
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        OpenDrive(state, "E:");
        ASSERT_NE(state.driveHandle, kNoDevice);
    }
    void TearDown() override { CloseDrive(transport, state.driveHandle); }

    std::vector<uint8_t> ReceivedOpcodes() const {
        std::vector<uint8_t> opcodes;
        for (const ReceivedCommand& command : drive->Received()) {
            opcodes.push_back(command.cdb[0]);
        }
        return opcodes;
    }

    SimulatedTransport transport;
    SimulatedDrive* drive = nullptr;
    DriveState state{transport};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    NullSink sink;
    CommandRunner runner{state, *mutex, &sink};
};

TEST_F(SimulatedProtocolTest, ProbeFollowsTheDiscState) {
    const std::vector<uint8_t> full{0x51, 0x52, 0x51, 0x52, 0x43, 0x00, 0x4A};
    const struct {
        DiscState disc;
        int present;
        std::vector<uint8_t> sequence;
    } cases[] = {
        {DiscState::kTrayOpen, 0, {0x51, 0x52, 0x51}},
        {DiscState::kNone, 0, {0x51, 0x52, 0x51}},
        {DiscState::kPresent, 1, full},
        {DiscState::kBecomingReady, 1, full},
    };
    for (const auto& c : cases) {
        drive->SetDiscState(c.disc);
        drive->ClearReceived();
        EXPECT_EQ(runner.ProbeDiscPresence(), c.present) << static_cast<int>(c.disc);
        EXPECT_EQ(ReceivedOpcodes(), c.sequence) << static_cast<int>(c.disc);
    }
}

TEST_F(SimulatedProtocolTest, ProbeWithAnUnreadableTocStillAsksForMediaEvents) {
    drive->SetDiscState(DiscState::kPresent);
    drive->AddFault(Failing(0x43, SenseTriple{0x03, 0x57, 0x00}));
    EXPECT_EQ(runner.ProbeDiscPresence(), 1);
    EXPECT_EQ(ReceivedOpcodes().back(), 0x4A);
}

TEST_F(SimulatedProtocolTest, SettingsReadAndWriteRoundTrip) {
    DriveLock lock(*mutex);
    state.block.code = kCodeReadBuffer;
    state.block.timeout = 10;
    state.block.bufferId = 0xF4;
    state.block.bufferMode = 1;
    state.block.bufferOffset = 0;
    state.block.transferLength = 256;
    ASSERT_EQ(runner.Run(lock), kCommandCompleted);
    EXPECT_EQ(state.buffers.DataInBuffer()[18], 1);  // optimal speed supported

    uint8_t* page = state.buffers.DataOutBuffer();
    std::fill(page, page + 256, 0);
    page[0] = 9;
    page[2] = 1;
    page[3] = 1;
    state.block.code = kCodeWriteBuffer;  // mode and offset as the read left them
    state.block.bufferId = 0xFA;
    ASSERT_EQ(runner.Run(lock), kCommandCompleted);
    EXPECT_EQ(drive->SettingsPage()[19], 1);
    EXPECT_EQ(drive->SettingsPage()[20], 1);
}

// A command held in the drive past the wait bound: the caller neither returns nor lets go of
// the drive until the worker has ended, and the command counts as failed.
TEST_F(SimulatedProtocolTest, CommandHeldPastTheBoundKeepsTheCallerWaiting) {
    CommandRunner shortRunner(state, *mutex, &sink, 20);
    std::atomic<bool> returned{false};
    std::atomic<int32_t> status{0};
    drive->PauseCommands();
    std::thread caller([&] {
        DriveLock lock(*mutex);
        state.block.code = kCodeTestUnitReady;
        status = shortRunner.Run(lock);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_FALSE(returned);
    EXPECT_EQ(drive->PausedCommandCount(), 1);
    drive->ResumeCommands();
    caller.join();
    EXPECT_EQ(status, kCommandFailed);
}

TEST_F(SimulatedProtocolTest, SlowProbeCountsAsDiscPresent) {
    CommandRunner shortRunner(state, *mutex, &sink, 20);
    drive->SetDiscState(DiscState::kTrayOpen);
    drive->SetLatencyMicroseconds(15000);
    EXPECT_EQ(shortRunner.ProbeDiscPresence(), 1);
    EXPECT_EQ(drive->ReceivedCount(), 3u);  // the probe itself ran to its end
    drive->SetLatencyMicroseconds(0);
    EXPECT_EQ(shortRunner.ProbeDiscPresence(), 0);
}

}  // namespace
