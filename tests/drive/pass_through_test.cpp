#include "drive/pass_through.h"

#include <gtest/gtest.h>

#include <cstring>

#include "drive/drive_handle.h"
#include "tests/drive/drive_fixture.h"

namespace {

const uint8_t* RawBytes(const PassThroughRequest& record) {
    return reinterpret_cast<const uint8_t*>(&record);
}

Cdb SampleCdb() {
    Cdb cdb;
    for (size_t i = 0; i < cdb.size(); ++i) {
        cdb[i] = static_cast<uint8_t>(0xA0 + i);
    }
    return cdb;
}

using PassThroughTest = DriveFixture;

TEST_F(PassThroughTest, FillsEveryFieldOfTheRecord) {
    state.block.timeout = 10;
    ASSERT_EQ(ExecuteCdb10(state, kDirectionIn, 0x1234, SampleCdb()), 1);
    const PassThroughRequest record = OnlySent().record;
    const ScsiPassThroughDirect& header = record.header;
    EXPECT_EQ(header.Length, sizeof(ScsiPassThroughDirect));
    EXPECT_EQ(header.ScsiStatus, 0);
    EXPECT_EQ(header.PathId, 0);
    EXPECT_EQ(header.TargetId, 0);
    EXPECT_EQ(header.Lun, 0);
    EXPECT_EQ(header.CdbLength, 10);
    EXPECT_EQ(header.SenseInfoLength, 18);
    EXPECT_EQ(header.DataIn, kScsiDataIn);
    EXPECT_EQ(header.DataTransferLength, 0x1234u);
    EXPECT_EQ(header.TimeOutValue, 10u);
    EXPECT_EQ(header.DataBuffer, state.buffers.DataInBuffer());
    EXPECT_EQ(header.SenseInfoOffset, kSenseOffset);
    EXPECT_EQ(0, std::memcmp(header.Cdb, SampleCdb().data(), 12));
    EXPECT_EQ(0, header.Cdb[12] | header.Cdb[13] | header.Cdb[14] | header.Cdb[15]);
    EXPECT_EQ(record.filler, 0u);
    for (uint8_t byte : record.sense) {
        EXPECT_EQ(byte, 0);
    }
}

TEST_F(PassThroughTest, RecordStartsFromZeroEvenAfterAFailedCommand) {
    transport.AnswerOnce(0x00, CheckCondition(0x02, 0x3A, 0x00));
    Cdb cdb{};
    ExecuteCdb6(state, kDirectionNone, 0, cdb);
    ExecuteCdb6(state, kDirectionNone, 0, cdb);
    const PassThroughRequest second = transport.Sent().at(1).record;
    EXPECT_EQ(second.header.ScsiStatus, 0);
    EXPECT_EQ(RawBytes(second)[kSenseKeyOffset], 0);
    EXPECT_EQ(RawBytes(second)[kAscOffset], 0);
}

TEST_F(PassThroughTest, EachExecutorDeclaresItsOwnLength) {
    Cdb cdb{};
    ExecuteCdb6(state, kDirectionNone, 0, cdb);
    ExecuteCdb10(state, kDirectionNone, 0, cdb);
    ExecuteCdb12(state, kDirectionNone, 0, cdb);
    auto sent = transport.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0].record.header.CdbLength, 6);
    EXPECT_EQ(sent[1].record.header.CdbLength, 10);
    EXPECT_EQ(sent[2].record.header.CdbLength, 12);
}

TEST_F(PassThroughTest, DirectionChoosesDataInAndBuffer) {
    struct Case {
        int32_t direction;
        uint8_t dataIn;
        bool namesDataIn;
    };
    for (Case c : {Case{1, kScsiDataIn, true}, Case{0, kScsiDataOut, false},
                   Case{2, kScsiDataUnspecified, false}, Case{7, kScsiDataUnspecified, false},
                   Case{-1, kScsiDataUnspecified, false}}) {
        ExecuteCdb12(state, c.direction, 0, Cdb{});
        const ScsiPassThroughDirect header = transport.Sent().back().record.header;
        EXPECT_EQ(header.DataIn, c.dataIn) << "direction " << c.direction;
        EXPECT_EQ(header.DataBuffer,
                  c.namesDataIn ? state.buffers.DataInBuffer() : state.buffers.DataOutBuffer())
            << "direction " << c.direction;
    }
}

TEST_F(PassThroughTest, TimeoutIsTheOneCurrentAtTheCall) {
    state.block.timeout = 1;
    ExecuteCdb6(state, kDirectionNone, 0, Cdb{});
    state.block.timeout = 2;
    ExecuteCdb6(state, kDirectionNone, 0, Cdb{});
    auto sent = transport.Sent();
    EXPECT_EQ(sent[0].record.header.TimeOutValue, 1u);
    EXPECT_EQ(sent[1].record.header.TimeOutValue, 2u);
}

TEST_F(PassThroughTest, CheckConditionFailsAndLeavesSenseAtItsOffsets) {
    transport.AnswerAlways(0x00, CheckCondition(0x02, 0x3A, 0x01));
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 0);
    EXPECT_EQ(state.block.status, kCommandFailed);
    const uint8_t* raw = RawBytes(state.request);
    EXPECT_EQ(raw[kSenseKeyOffset], 0x02);
    EXPECT_EQ(raw[kAscOffset], 0x3A);
    EXPECT_EQ(raw[kAscqOffset], 0x01);
}

TEST_F(PassThroughTest, GoodStatusCompletes) {
    EXPECT_EQ(state.block.status, kCommandNotRun);
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 1);
    EXPECT_EQ(state.block.status, kCommandCompleted);
}

// A call the system refuses never ran: it must not pass for a completed command.
TEST_F(PassThroughTest, RejectedCallIsAFailureWithZeroSense) {
    ScriptedAnswer rejected;
    rejected.rejected = true;
    transport.AnswerAlways(0x00, rejected);
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 0);
    EXPECT_EQ(state.block.status, kCommandFailed);
    for (uint8_t byte : state.request.sense) {
        EXPECT_EQ(byte, 0);
    }
}

TEST_F(PassThroughTest, NoDriveOpenFailsWithoutReachingTheSystem) {
    state.driveHandle = kNoDevice;
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 0);
    EXPECT_EQ(state.block.status, kCommandFailed);
    EXPECT_TRUE(transport.Sent().empty());
}

TEST_F(PassThroughTest, HostAdapterModeIsNotBuiltAndRefused) {
    state.transportMode = kTransportModePassThrough;
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 1);
    state.transportMode = kTransportModeHostAdapter;
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 0);
    EXPECT_EQ(transport.Sent().size(), 1u);
}

TEST_F(PassThroughTest, TransferLongerThanTheBufferIsRefused) {
    EXPECT_EQ(ExecuteCdb12(state, kDirectionIn, TransferBuffers::kSize, Cdb{}), 1);
    EXPECT_EQ(ExecuteCdb12(state, kDirectionIn, TransferBuffers::kSize + 1, Cdb{}), 0);
    EXPECT_EQ(state.block.status, kCommandFailed);
    EXPECT_EQ(transport.Sent().size(), 1u);
    // The record still describes the refused command.
    EXPECT_EQ(state.request.header.DataTransferLength, TransferBuffers::kSize + 1);
}

TEST_F(PassThroughTest, WithoutBuffersOnlyCommandsWithoutDataAreSent) {
    FreeTransferBuffers(state.buffers);
    EXPECT_EQ(ExecuteCdb12(state, kDirectionIn, 8, Cdb{}), 0);
    EXPECT_EQ(ExecuteCdb12(state, kDirectionOut, 8, Cdb{}), 0);
    EXPECT_TRUE(transport.Sent().empty());
    EXPECT_EQ(ExecuteCdb6(state, kDirectionNone, 0, Cdb{}), 1);
}

TEST_F(PassThroughTest, EachReplyLandsAtTheStartOfDataIn) {
    transport.AnswerOnce(0x12, Reply({1, 2, 3, 4}));
    transport.AnswerOnce(0x12, Reply({9, 8}));
    Cdb inquiry{};
    inquiry[0] = 0x12;
    ExecuteCdb6(state, kDirectionIn, 4, inquiry);
    ExecuteCdb6(state, kDirectionIn, 2, inquiry);
    const uint8_t* data = state.buffers.DataInBuffer();
    EXPECT_EQ(data[0], 9);
    EXPECT_EQ(data[1], 8);
    EXPECT_EQ(data[2], 3);  // the rest of the first reply stays
}

// The handle goes into the state's DriveHandle, the system's reason for a refusal beside it.
TEST(DriveHandleTest, OpenStoresTheHandleOrNoDeviceWithTheReason) {
    RecordingTransport transport;
    DriveState state(transport);
    transport.openError = 13;
    EXPECT_EQ(OpenDrive(state, "F:"), kNoDevice);
    EXPECT_EQ(state.driveHandle, kNoDevice);
    EXPECT_EQ(state.openError, 13);
    EXPECT_EQ(OpenDrive(state, "E:"), RecordingTransport::kOpenHandle);
    EXPECT_EQ(state.driveHandle, RecordingTransport::kOpenHandle);
    EXPECT_EQ(state.openError, 0);
}

TEST(DriveHandleTest, CloseClosesOnceAndResetsTheVariable) {
    RecordingTransport transport;
    DriveState state(transport);
    DeviceHandle handle = OpenDrive(state, "E:");
    EXPECT_EQ(CloseDrive(transport, handle), 1);
    EXPECT_EQ(handle, kNoDevice);
    EXPECT_EQ(CloseDrive(transport, handle), 1);
    ASSERT_EQ(transport.closed.size(), 1u);
    EXPECT_EQ(transport.closed[0], RecordingTransport::kOpenHandle);
}

TEST(TransferBuffersTest, AllocateGivesTwoDistinctBuffersAndFreeReleasesThem) {
    TransferBuffers buffers;
    EXPECT_FALSE(buffers.IsAllocated());
    ASSERT_EQ(AllocateTransferBuffers(buffers), 1);
    ASSERT_NE(buffers.DataInBuffer(), nullptr);
    ASSERT_NE(buffers.DataOutBuffer(), nullptr);
    // Both whole buffers are usable and apart from each other.
    buffers.DataInBuffer()[TransferBuffers::kSize - 1] = 1;
    buffers.DataOutBuffer()[TransferBuffers::kSize - 1] = 2;
    EXPECT_EQ(buffers.DataInBuffer()[TransferBuffers::kSize - 1], 1);
    FreeTransferBuffers(buffers);
    EXPECT_EQ(buffers.DataInBuffer(), nullptr);
    EXPECT_EQ(buffers.DataOutBuffer(), nullptr);
}

}  // namespace
