// The SG_IO backend against fake device nodes: this test program answers the SG_IO ioctl itself
// for descriptors it has marked, so every way the system can end a call can be staged without a
// SCSI device in the kernel.
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdarg>
#include <map>

#include "platform/os_error.h"
#include "platform/system_scsi_transport.h"

namespace {

// How the fake node answers SG_IO: fail the call with an error number, or complete it.
struct FakeAnswer {
    int error = 0;  // errno of a failed ioctl
    unsigned char status = 0;
    int resid = 0;
    unsigned short hostStatus = 0;
    unsigned char senseBytes = 0;
};

std::map<int, FakeAnswer>& FakeNodes() {
    static std::map<int, FakeAnswer> nodes;
    return nodes;
}

}  // namespace

// Replaces the C library's ioctl for this program: marked descriptors are answered here.
extern "C" int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    const auto fake = FakeNodes().find(fd);
    if (request != SG_IO || fake == FakeNodes().end()) {
        return static_cast<int>(syscall(SYS_ioctl, fd, request, argument));
    }
    if (fake->second.error != 0) {
        errno = fake->second.error;
        return -1;
    }
    sg_io_hdr_t* io = static_cast<sg_io_hdr_t*>(argument);
    io->status = fake->second.status;
    io->resid = fake->second.resid;
    io->host_status = fake->second.hostStatus;
    io->sb_len_wr = fake->second.senseBytes;
    return 0;
}

namespace {

class SgIoTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const OpenResult opened = transport->Open("/dev/null");
        ASSERT_NE(opened.handle, kNoDevice);
        node = opened.handle;
        request.header.Length = sizeof(ScsiPassThroughDirect);
        request.header.CdbLength = 12;
        request.header.SenseInfoLength = kSenseBytesRequested;
        request.header.TimeOutValue = 1;
        request.header.DataIn = kScsiDataIn;
        request.header.DataTransferLength = sizeof buffer;
        request.header.DataBuffer = buffer;
    }
    void TearDown() override {
        FakeNodes().clear();
        transport->Close(node);
    }
    TransportResult Answered(FakeAnswer answer) {
        FakeNodes()[static_cast<int>(node)] = answer;
        return transport->Execute(node, request);
    }

    std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    DeviceHandle node = kNoDevice;
    PassThroughRequest request{};
    uint8_t buffer[256] = {};
};

TEST_F(SgIoTransportTest, EachWayTheSystemFailsACallKeepsItsReason) {
    const struct {
        int error;
        TransportOutcome outcome;
        OsErrorKind kind;
    } cases[] = {
        {EPERM, TransportOutcome::kRejected, OsErrorKind::kPermission},    // filtered command
        {EACCES, TransportOutcome::kRejected, OsErrorKind::kPermission},   // no right to the node
        {ENODEV, TransportOutcome::kOsError, OsErrorKind::kNoSuchDevice},  // the drive went away
        {EIO, TransportOutcome::kOsError, OsErrorKind::kDeviceError},
    };
    for (const auto& c : cases) {
        FakeAnswer answer;
        answer.error = c.error;
        const TransportResult result = Answered(answer);
        EXPECT_EQ(result.outcome, c.outcome) << c.error;
        EXPECT_EQ(result.osError, c.error);
        EXPECT_EQ(ClassifyOsError(result.osError), c.kind) << c.error;
        EXPECT_FALSE(DescribeOsError(result.osError).empty());
    }
}

TEST_F(SgIoTransportTest, ASentCommandGivesItsStatusSenseLengthAndTheBytesThatMoved) {
    FakeAnswer answer;
    answer.status = 0x02;
    answer.resid = 256 - 20;
    answer.senseBytes = 18;
    const TransportResult result = Answered(answer);
    EXPECT_TRUE(result.Sent());
    EXPECT_EQ(request.header.ScsiStatus, 0x02);
    EXPECT_EQ(result.bytesTransferred, 20u);
    EXPECT_EQ(result.senseLength, 18u);
}

// A host failure with a GOOD status byte: the command did not run to its end.
TEST_F(SgIoTransportTest, ATimedOutCommandIsAnOsErrorNotAGoodStatus) {
    FakeAnswer answer;
    answer.hostStatus = 0x03;  // DID_TIME_OUT
    const TransportResult result = Answered(answer);
    EXPECT_EQ(result.outcome, TransportOutcome::kOsError);
    EXPECT_EQ(ClassifyOsError(result.osError), OsErrorKind::kTimeout);
}

TEST_F(SgIoTransportTest, OpenAndCallsWithoutADeviceSayWhy) {
    const OpenResult missing = transport->Open("/dev/no-such-node");
    EXPECT_EQ(missing.handle, kNoDevice);
    EXPECT_EQ(ClassifyOsError(missing.osError), OsErrorKind::kNoSuchDevice);
    EXPECT_EQ(transport->Execute(kNoDevice, request).outcome, TransportOutcome::kRejected);
    FakeNodes().clear();
    const TransportResult notScsi = transport->Execute(node, request);  // /dev/null itself
    EXPECT_FALSE(notScsi.Sent());
    EXPECT_NE(notScsi.osError, 0);
    transport->Close(kNoDevice);
}

}  // namespace
