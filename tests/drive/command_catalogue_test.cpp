#include "drive/command_catalogue.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/drive/drive_fixture.h"

namespace {

struct CatalogueCase {
    std::string name;
    std::function<int(DriveState&)> send;
    std::vector<uint8_t> cdb;  // all 12 bytes
    uint8_t declaredLength;
    uint8_t dataIn;
    uint32_t transferLength;
};

void PrintTo(const CatalogueCase& c, std::ostream* os) {
    *os << c.name;
}

std::vector<CatalogueCase> Catalogue() {
    using V = std::vector<uint8_t>;
    return {
        {"TestUnitReady", TestUnitReady, V{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 6, 2, 0},
        {"RequestSense22", [](DriveState& s) { return RequestSense(s, 22); },
         V{0x03, 0, 0, 0, 0x16, 0, 0, 0, 0, 0, 0, 0}, 6, 1, 22},
        {"Inquiry36", [](DriveState& s) { return Inquiry(s, 36); },
         V{0x12, 0, 0, 0, 0x24, 0, 0, 0, 0, 0, 0, 0}, 6, 1, 36},
        {"InquiryFull", InquiryFull, V{0x12, 0, 0, 0, 0xFE, 0, 0, 0, 0, 0, 0, 0}, 12, 1, 254},
        {"StartStopUnitStop", [](DriveState& s) { return StartStopUnit(s, 0, 0, 0, 0); },
         V{0x1B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 6, 2, 0},
        {"StartStopUnitBits", [](DriveState& s) { return StartStopUnit(s, 1, 0, 1, 1); },
         V{0x1B, 0x01, 0, 0, 0x03, 0, 0, 0, 0, 0, 0, 0}, 6, 2, 0},
        {"StartStopUnitPowerCut", [](DriveState& s) { return StartStopUnit(s, 0xFF, 0x13, 0, 0); },
         V{0x1B, 0xFF, 0, 0, 0x30, 0, 0, 0, 0, 0, 0, 0}, 6, 2, 0},
        {"ReadSettingsPage", [](DriveState& s) { return ReadBuffer(s, 0xF4, 1, 0, 256); },
         V{0x3C, 0x01, 0xF4, 0, 0, 0, 0x00, 0x01, 0x00, 0, 0, 0}, 12, 1, 256},
        {"ReadBufferOffset", [](DriveState& s) { return ReadBuffer(s, 0xF4, 0, 0x200000, 8); },
         V{0x3C, 0x00, 0xF4, 0x20, 0x00, 0x00, 0, 0, 0x08, 0, 0, 0}, 12, 1, 8},
        {"ReadBufferWideFields",
         [](DriveState& s) { return ReadBuffer(s, 0xF4, 1, 0x12345678, 0x01000010); },
         V{0x3C, 0x01, 0xF4, 0x34, 0x56, 0x78, 0x00, 0x00, 0x10, 0, 0, 0}, 12, 1, 0x01000010},
        {"ReadModelBuffer", ReadModelBuffer,
         V{0x3C, 0x02, 0xF1, 0, 0, 0, 0x00, 0x00, 0x30, 0, 0, 0}, 12, 1, 48},
        {"WriteSettings", [](DriveState& s) { return WriteBuffer(s, 0xFA, 1, 0, 256); },
         V{0x3B, 0x01, 0xFA, 0, 0, 0, 0x00, 0x01, 0x00, 0, 0, 0}, 12, 0, 256},
        {"WriteBufferWideFields",
         [](DriveState& s) { return WriteBuffer(s, 0xFA, 1, 0xFF000001, 0x02000004); },
         V{0x3B, 0x01, 0xFA, 0x00, 0x00, 0x01, 0x00, 0x00, 0x04, 0, 0, 0}, 12, 0, 0x02000004},
        {"ReadToc", ReadToc, V{0x43, 0, 0, 0, 0, 0, 0x01, 0x00, 0x30, 0, 0, 0}, 10, 1, 48},
        {"GetMediaEventStatus", GetMediaEventStatus,
         V{0x4A, 0, 0, 0, 0x10, 0, 0, 0x00, 0x08, 0, 0, 0}, 10, 1, 8},
        {"ReadDiscInformation", ReadDiscInformation, V{0x51, 0, 0, 0, 0, 0, 0, 0x00, 0x22, 0, 0, 0},
         10, 1, 34},
        {"ReadTrackInformationProbe",
         [](DriveState& s) { return ReadTrackInformation(s, 0, 0, 100); },
         V{0x52, 0, 0, 0, 0, 0, 0, 0x00, 0x64, 0, 0, 0}, 12, 1, 100},
        {"ReadTrackInformationWide",
         [](DriveState& s) { return ReadTrackInformation(s, 1, 0x01020304, 0x00031234); },
         V{0x52, 0x01, 0x01, 0x02, 0x03, 0x04, 0, 0x12, 0x34, 0, 0, 0}, 12, 1, 0x00031234},
        {"SendRawCdbNoData",
         [](DriveState& s) {
             return SendRawCdb(s, Cdb{0x1B, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0x77}, 0, 2);
         },
         V{0x1B, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0x77}, 12, 2, 0},
        {"SendRawCdbIn",
         [](DriveState& s) {
             return SendRawCdb(s, Cdb{0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0}, 96, 1);
         },
         V{0x12, 0, 0, 0, 0x60, 0, 0, 0, 0, 0, 0, 0}, 12, 1, 96},
    };
}

class CommandCatalogueTest : public DriveFixture,
                             public ::testing::WithParamInterface<CatalogueCase> {};

TEST_P(CommandCatalogueTest, SendsTheExactCommand) {
    // Buffers are 2 MiB; wide lengths go past them, so only the record is checked for those.
    const CatalogueCase& c = GetParam();
    c.send(state);
    const ScsiPassThroughDirect& header = state.request.header;
    EXPECT_EQ(std::vector<uint8_t>(header.Cdb, header.Cdb + 12), c.cdb);
    EXPECT_EQ(0, header.Cdb[12] | header.Cdb[13] | header.Cdb[14] | header.Cdb[15]);
    EXPECT_EQ(header.CdbLength, c.declaredLength);
    EXPECT_EQ(header.DataIn, c.dataIn);
    EXPECT_EQ(header.DataTransferLength, c.transferLength);
    EXPECT_EQ(header.DataBuffer, c.dataIn == kScsiDataIn ? state.buffers.DataInBuffer()
                                                         : state.buffers.DataOutBuffer());
}

INSTANTIATE_TEST_SUITE_P(AllOperations, CommandCatalogueTest, ::testing::ValuesIn(Catalogue()),
                         [](const auto& testInfo) { return testInfo.param.name; });

using CatalogueResultTest = DriveFixture;

TEST_F(CatalogueResultTest, FailureAndSenseComeThroughUnchanged) {
    transport.AnswerAlways(0x1B, CheckCondition(0x02, 0x04, 0x01));
    EXPECT_EQ(StartStopUnit(state, 0, 0, 0, 0), 0);
    EXPECT_EQ(state.block.status, kCommandFailed);
    EXPECT_EQ(state.request.sense[12], 0x04);
    EXPECT_EQ(TestUnitReady(state), 1);
    EXPECT_EQ(state.block.status, kCommandCompleted);
}

TEST_F(CatalogueResultTest, WriteBufferSendsDataOutBuffer) {
    uint8_t* out = state.buffers.DataOutBuffer();
    out[0] = 9;
    out[2] = 1;
    out[255] = 0x5A;
    ASSERT_EQ(WriteBuffer(state, 0xFA, 1, 0, 256), 1);
    std::vector<uint8_t> written = OnlySent().dataOut;
    ASSERT_EQ(written.size(), 256u);
    EXPECT_EQ(written[0], 9);
    EXPECT_EQ(written[2], 1);
    EXPECT_EQ(written[255], 0x5A);
}

}  // namespace
