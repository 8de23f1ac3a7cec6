#include "sim/simulated_transport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

PassThroughRequest MakeRecord(std::initializer_list<uint8_t> cdb, uint8_t dataIn, uint8_t* buffer,
                              uint32_t length) {
    PassThroughRequest request;
    std::memset(&request, 0, sizeof(request));
    request.header.Length = sizeof(ScsiPassThroughDirect);
    request.header.CdbLength = 12;
    request.header.SenseInfoLength = kSenseBytesRequested;
    request.header.DataIn = dataIn;
    request.header.DataTransferLength = length;
    request.header.TimeOutValue = 7;
    request.header.DataBuffer = buffer;
    request.header.SenseInfoOffset = kSenseOffset;
    std::copy(cdb.begin(), cdb.end(), request.header.Cdb);
    return request;
}

bool Sent(SimulatedTransport& transport, DeviceHandle handle, PassThroughRequest& request) {
    return transport.Execute(handle, request).Sent();
}

uint8_t RecordByte(const PassThroughRequest& request, size_t offset) {
    return reinterpret_cast<const uint8_t*>(&request)[offset];
}

TEST(SimulatedTransportHandles, OpenOnlyLettersWithADrive) {
    SimulatedTransport transport;
    transport.AddDrive('E');
    EXPECT_EQ(transport.Open("F:").handle, kNoDevice);
    EXPECT_EQ(transport.Open("B:").handle, kNoDevice);
    const DeviceHandle upper = transport.Open("E:").handle;
    const DeviceHandle lower = transport.Open("e:").handle;
    EXPECT_NE(upper, kNoDevice);
    EXPECT_NE(lower, kNoDevice);
    EXPECT_NE(upper, lower);
    EXPECT_EQ(transport.OpenHandleCount(), 2);
    transport.RefuseOpen("E:", 13);
    const OpenResult refused = transport.Open("E:");
    EXPECT_EQ(refused.handle, kNoDevice);
    EXPECT_EQ(refused.osError, 13) << "the reason the test gave";
    transport.RefuseOpen("E:", 0);
    transport.Close(upper);
    transport.Close(lower);
    EXPECT_EQ(transport.OpenHandleCount(), 0);
}

TEST(SimulatedTransportHandles, ExecuteOnUnknownOrClosedHandleIsRefused) {
    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    PassThroughRequest request = MakeRecord({0x00}, kScsiDataUnspecified, nullptr, 0);
    EXPECT_FALSE(Sent(transport, kNoDevice, request));
    const DeviceHandle handle = transport.Open("E:").handle;
    transport.Close(handle);
    EXPECT_FALSE(Sent(transport, handle, request));
    EXPECT_EQ(drive.ReceivedCount(), 0u);
}

TEST(SimulatedTransportRecord, MalformedRecordsNeverReachTheDrive) {
    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    const DeviceHandle handle = transport.Open("E:").handle;
    uint8_t buffer[256];
    struct Case {
        const char* what;
        void (*spoil)(PassThroughRequest&);
    };
    const Case cases[] = {
        {"Length 44 where the header is larger, or any other size",
         [](PassThroughRequest& r) {
             r.header.Length = sizeof(ScsiPassThroughDirect) == 44 ? 56 : 44;
         }},
        {"CdbLength 0", [](PassThroughRequest& r) { r.header.CdbLength = 0; }},
        {"CdbLength 17", [](PassThroughRequest& r) { r.header.CdbLength = 17; }},
        {"DataIn 3", [](PassThroughRequest& r) { r.header.DataIn = 3; }},
        {"transfer without buffer", [](PassThroughRequest& r) { r.header.DataBuffer = nullptr; }},
        {"sense area past the record",
         [](PassThroughRequest& r) { r.header.SenseInfoOffset = sizeof(PassThroughRequest) - 4; }},
        {"sense area over the header", [](PassThroughRequest& r) { r.header.SenseInfoOffset = 0; }},
    };
    for (const Case& c : cases) {
        PassThroughRequest request =
            MakeRecord({0x3C, 0x01, 0xF4, 0, 0, 0, 0, 1, 0}, kScsiDataIn, buffer, 256);
        c.spoil(request);
        EXPECT_FALSE(Sent(transport, handle, request)) << c.what;
    }
    EXPECT_EQ(drive.ReceivedCount(), 0u);
}

TEST(SimulatedTransportRecord, CheckConditionWritesStatusAndSenseIntoTheRecord) {
    SimulatedTransport transport;
    transport.AddDrive('E').SetDiscState(DiscState::kTrayOpen);
    const DeviceHandle handle = transport.Open("E:").handle;
    PassThroughRequest request = MakeRecord({0x00}, kScsiDataUnspecified, nullptr, 0);
    request.header.CdbLength = 6;
    ASSERT_TRUE(Sent(transport, handle, request));
    EXPECT_EQ(request.header.ScsiStatus, kScsiStatusCheckCondition);
    EXPECT_EQ(RecordByte(request, kSenseKeyOffset), 0x02);
    EXPECT_EQ(RecordByte(request, kAscOffset), 0x3A);
    EXPECT_EQ(RecordByte(request, kAscqOffset), 0x02);
    EXPECT_EQ(request.header.SenseInfoLength, 18);

    // Only SenseInfoLength bytes are written.
    request = MakeRecord({0x00}, kScsiDataUnspecified, nullptr, 0);
    request.header.SenseInfoLength = 8;
    ASSERT_TRUE(Sent(transport, handle, request));
    EXPECT_EQ(RecordByte(request, kSenseKeyOffset), 0x02);
    EXPECT_EQ(RecordByte(request, kAscOffset), 0x00);
    EXPECT_EQ(request.header.SenseInfoLength, 8);
}

TEST(SimulatedTransportRecord, DataInReplyAndTheCommandAsTheDriveSawIt) {
    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    const DeviceHandle handle = transport.Open("E:").handle;
    uint8_t buffer[256] = {};
    PassThroughRequest request =
        MakeRecord({0x3C, 0x02, 0xF1, 0, 0, 0, 0, 0, 0x30}, kScsiDataIn, buffer, 48);
    request.header.Cdb[15] = 0x5A;  // all 16 bytes of the field reach the record of the drive
    ASSERT_TRUE(Sent(transport, handle, request));
    EXPECT_EQ(request.header.ScsiStatus, kScsiStatusGood);
    EXPECT_EQ(request.header.DataTransferLength, 48u);
    EXPECT_EQ(request.header.SenseInfoLength, 0);
    EXPECT_EQ(std::memcmp(buffer + 16, "7315KT52    ", 12), 0);
    ReceivedCommand seen = drive.Received().at(0);
    EXPECT_EQ(seen.cdb[0], 0x3C);
    EXPECT_EQ(seen.cdb[15], 0x5A);
    EXPECT_EQ(seen.cdbLength, 12);
    EXPECT_EQ(seen.dataIn, kScsiDataIn);
    EXPECT_EQ(seen.transferLength, 48u);
    EXPECT_EQ(seen.timeoutSeconds, 7u);
}

// A Linux node is just another device path.
TEST(SimulatedTransportHandles, ADriveAtANodePathAndTheBytesAReplyMoved) {
    SimulatedTransport transport;
    transport.AddDrive("/dev/sg1").AddFault(ShortReply(0x3C, 30));
    EXPECT_EQ(transport.Open("/dev/sg2").handle, kNoDevice);
    const DeviceHandle handle = transport.Open("/dev/sg1").handle;
    uint8_t buffer[256] = {};
    PassThroughRequest request =
        MakeRecord({0x3C, 0x01, 0xF4, 0, 0, 0, 0, 1, 0}, kScsiDataIn, buffer, 256);
    const TransportResult result = transport.Execute(handle, request);
    EXPECT_TRUE(result.Sent());
    EXPECT_EQ(result.bytesTransferred, 30u);
    EXPECT_EQ(request.header.DataTransferLength, 30u);
}

// The kernel's filter refuses one opcode; a drive gone away fails every command. Neither reaches
// the drive.
TEST(SimulatedTransportHandles, CommandsFailingInTheSystemSayWhyAndNeverReachTheDrive) {
    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive("/dev/sr0");
    const DeviceHandle handle = transport.Open("/dev/sr0").handle;
    uint8_t page[256] = {9, 0, 1, 0};
    PassThroughRequest write =
        MakeRecord({0x3B, 0x01, 0xFA, 0, 0, 0, 0, 1, 0}, kScsiDataOut, page, 256);
    PassThroughRequest ready = MakeRecord({0x00}, kScsiDataUnspecified, nullptr, 0);
    transport.FailCommands("/dev/sr0", 0x3B, EPERM);
    const TransportResult refused = transport.Execute(handle, write);
    EXPECT_EQ(refused.outcome, TransportOutcome::kRejected);
    EXPECT_EQ(refused.osError, EPERM);
    EXPECT_TRUE(Sent(transport, handle, ready));
    EXPECT_EQ(drive.ReceivedCount(), 1u);

    transport.FailCommands("/dev/sr0", -1, ENODEV);
    const TransportResult gone = transport.Execute(handle, ready);
    EXPECT_EQ(gone.outcome, TransportOutcome::kOsError);
    EXPECT_EQ(gone.osError, ENODEV);
    transport.FailCommands("/dev/sr0", -1, 0);
    EXPECT_TRUE(Sent(transport, handle, write));
    EXPECT_EQ(drive.ReceivedCount(), 2u);
}

TEST(SimulatedTransportDrives, ReplacedDriveAnswersOpenHandles) {
    SimulatedTransport transport;
    transport.AddDrive('E');
    const DeviceHandle handle = transport.Open("E:").handle;
    SimulatedDriveConfig config;
    config.disc = DiscState::kPresent;
    SimulatedDrive& replacement = transport.AddDrive('E', config);
    EXPECT_EQ(transport.Drive('e'), &replacement);
    PassThroughRequest request = MakeRecord({0x00}, kScsiDataUnspecified, nullptr, 0);
    ASSERT_TRUE(Sent(transport, handle, request));
    EXPECT_EQ(request.header.ScsiStatus, kScsiStatusGood);
    transport.RemoveDrive('E');
    EXPECT_EQ(transport.Drive('E'), nullptr);
    EXPECT_FALSE(Sent(transport, handle, request));
}

}  // namespace
