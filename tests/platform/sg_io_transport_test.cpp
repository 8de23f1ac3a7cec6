#include <gtest/gtest.h>

#include "platform/system_scsi_transport.h"

namespace {

TEST(SgIoTransportTest, OnlyLettersCToZHaveANode) {
    auto transport = CreateSystemScsiTransport();
    EXPECT_EQ(transport->Open('A'), kNoDevice);
    EXPECT_EQ(transport->Open('B'), kNoDevice);
    EXPECT_EQ(transport->Open('['), kNoDevice);
    EXPECT_EQ(transport->Open('e'), kNoDevice);
}

// A call that never reaches a drive is reported as not carried out, never as GOOD.
TEST(SgIoTransportTest, CallOnAnythingButAnOpenDriveIsRejected) {
    auto transport = CreateSystemScsiTransport();
    PassThroughRequest request{};
    request.header.Length = sizeof(ScsiPassThroughDirect);
    request.header.CdbLength = 6;
    request.header.SenseInfoLength = kSenseBytesRequested;
    request.header.TimeOutValue = 1;
    EXPECT_FALSE(transport->Execute(kNoDevice, request));
    EXPECT_FALSE(transport->Execute(1000, request));  // no such descriptor
    EXPECT_FALSE(transport->Execute(0, request));     // not a SCSI device
}

TEST(SgIoTransportTest, ClosingNoDeviceIsHarmless) {
    auto transport = CreateSystemScsiTransport();
    transport->Close(kNoDevice);
}

}  // namespace
