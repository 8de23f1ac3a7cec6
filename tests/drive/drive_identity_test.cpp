// A listed drive opened again: confirmed by the system's identity of the node and by its model
// read once more, and closed with nothing more sent when another device answers there now.
#include <gtest/gtest.h>

#include <cerrno>

#include "drive/drive_identity.h"
#include "sim/simulated_transport.h"

namespace {

class SingleByte : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// The simulated drives behind a system that says what CheckNode finds.
class NodeCheckingTransport : public SimulatedTransport {
public:
    NodeCheck CheckNode(DeviceHandle, const DriveCandidate&) override { return answer; }
    NodeCheck answer = NodeCheck::kNothingToCheck;
};

class ReopenedDrive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        entry.device = LetterCandidate('E');
        entry.model = "7315KT52    ";
    }
    IdentityOutcome Reopen() { return OpenIdentifiedDrive(state, runner, *mutex, entry, codePage); }

    NodeCheckingTransport transport;
    DriveState state{transport};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    CommandRunner runner{state, *mutex, nullptr};
    SingleByte codePage;
    DriveEntry entry;
};

TEST_F(ReopenedDrive, TheSameDriveIsConfirmedByOneModelReadAndStaysOpen) {
    SimulatedDrive& drive = transport.AddDrive('E');
    EXPECT_EQ(Reopen(), IdentityOutcome::kConfirmed);
    EXPECT_NE(state.driveHandle, kNoDevice);
    ASSERT_EQ(drive.ReceivedCount(), 1u);
    EXPECT_EQ(drive.Received()[0].cdb[0], 0x3C);
    EXPECT_EQ(drive.Received()[0].cdb[2], 0xF1);
}

// Another model, or another maker's device refusing the read (a unit attention is let pass
// once): closed after the read, nothing else sent.
TEST_F(ReopenedDrive, AnotherDeviceAtTheSamePathIsClosedAfterItsModelRead) {
    SimulatedDriveConfig other;
    other.modelText = "7325KT52    ";
    SimulatedDrive& another = transport.AddDrive('E', other);
    EXPECT_EQ(Reopen(), IdentityOutcome::kOtherDevice);
    EXPECT_EQ(state.driveHandle, kNoDevice);
    EXPECT_EQ(transport.OpenHandleCount(), 0);
    EXPECT_EQ(another.ReceivedCount(), 1u);

    SimulatedDrive& refusing = transport.AddDrive('E');
    refusing.AddFault(Failing({0x3C, 0xF1, 2}, kSenseInvalidFieldInCdb));
    EXPECT_EQ(Reopen(), IdentityOutcome::kOtherDevice);
    EXPECT_EQ(refusing.ReceivedCount(), 1u);

    SimulatedDrive& attention = transport.AddDrive('E');
    attention.AddFault(Failing({0x3C, 0xF1, 2}, {0x06, 0x28, 0x00}).Times(1));
    EXPECT_EQ(Reopen(), IdentityOutcome::kConfirmed);
}

TEST_F(ReopenedDrive, WhatTheSystemSaysOfTheNodeComesFirst) {
    SimulatedDrive& drive = transport.AddDrive('E');
    transport.answer = NodeCheck::kOtherDevice;
    EXPECT_EQ(Reopen(), IdentityOutcome::kOtherDevice);
    EXPECT_EQ(drive.ReceivedCount(), 0u);
    EXPECT_EQ(transport.OpenHandleCount(), 0);

    transport.answer = NodeCheck::kSameDevice;
    EXPECT_EQ(Reopen(), IdentityOutcome::kConfirmed);
    EXPECT_EQ(drive.ReceivedCount(), 1u);
}

TEST_F(ReopenedDrive, ADriveTheSystemSaysIsGoneIsToldFromAnotherDevice) {
    transport.AddDrive('E');
    transport.FailCommands("E:", -1, ENODEV);
    EXPECT_EQ(Reopen(), IdentityOutcome::kDriveGone);
    EXPECT_EQ(transport.OpenHandleCount(), 0);
}

}  // namespace
