// The demo's drives as the demo uses them for hours: the watcher's poll once a second must not
// make the simulated drives' command record, and so the demo's memory, grow without bound.
#include <gtest/gtest.h>

#include "app/demo_drives.h"
#include "drive/command_catalogue.h"
#include "drive/drive_handle.h"

namespace {

TEST(DemoDrives, AnHourOfPollingKeepsTheirRecordAtItsLimit) {
    SimulatedTransport transport;
    PlaceDemoDrives(transport);
    DriveState state(transport);
    ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
    OpenDrive(state, LetterCandidate(kDemoFirstDriveLetter).devicePath);
    ASSERT_NE(state.driveHandle, kNoDevice);

    constexpr int kPollsInAnHour = 3600;
    for (int poll = 0; poll < kPollsInAnHour; ++poll) {
        ASSERT_EQ(ReadBuffer(state, 0xF4, 0, 0, 256), 1);
    }
    EXPECT_EQ(transport.Drive(kDemoFirstDriveLetter)->ReceivedCount(), kDemoRecordLimit);
    EXPECT_EQ(state.buffers.DataInBuffer()[24], 1) << "the drives still answer";
    CloseDrive(transport, state.driveHandle);
}

}  // namespace
