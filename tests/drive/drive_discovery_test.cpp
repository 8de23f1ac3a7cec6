// The model identifier check: both patterns anywhere in the text, case and spaces exact, the
// text ending at its first zero byte, and two-byte characters kept whole under code page 932.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "sim/simulated_transport.h"

namespace {

class SingleByte : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// Shift-JIS lead bytes, as code page 932 has them.
class ShiftJis : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char byte) const override {
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    }
};

TEST(IsSupportedModel, FindsEitherPatternAnywhere) {
    SingleByte ansi;
    EXPECT_EQ(IsSupportedModel("7315KT52    ", ansi), 1);
    EXPECT_EQ(IsSupportedModel("7305KT52    ", ansi), 1);
    EXPECT_EQ(IsSupportedModel("VELMORA CDR 7305KT52    REV1", ansi), 1);
    EXPECT_EQ(IsSupportedModel("77315KT52    ", ansi), 1);  // after a false start
}

TEST(IsSupportedModel, RejectsNearMissesAndAnEmptyText) {
    SingleByte ansi;
    EXPECT_EQ(IsSupportedModel("", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315KT52", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315KT52   ", ansi), 0);  // three spaces: the text ends
    EXPECT_EQ(IsSupportedModel("7315KT52xxxx", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7315kt52    ", ansi), 0);
    EXPECT_EQ(IsSupportedModel("7325KT52    ", ansi), 0);
    const std::string cut = std::string("AB\0", 3) + "7315KT52    ";
    EXPECT_EQ(IsSupportedModel(cut.c_str(), ansi), 0);
}

TEST(IsSupportedModel, UnderADoubleByteCodePageALeadByteTakesTheByteAfterIt) {
    SingleByte ansi;
    ShiftJis sjis;
    // 0x83 starts a character whose second byte is the '7': no identifier starts there.
    const char* swallowed =
        "AB\x83"
        "7315KT52    ";
    EXPECT_EQ(IsSupportedModel(swallowed, ansi), 1);
    EXPECT_EQ(IsSupportedModel(swallowed, sjis), 0);
    // A whole two-byte character before the identifier leaves it at a character boundary.
    const char* afterKana =
        "\x83\x41"
        "7305KT52    ";
    EXPECT_EQ(IsSupportedModel(afterKana, sjis), 1);
    // A lead byte at the very end pairs with nothing.
    EXPECT_EQ(IsSupportedModel("7305KT52    \x83", sjis), 1);
}

class NoCompletionMessages : public CommandDoneSink {
public:
    void PostCommandDone() override {}
};

// One candidate of the discovery loop, with the window's drive state, mutex and worker.
class ProbeDriveLetterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1); }
    int Probe(char letter) {
        DriveEntry entry;
        const ProbeOutcome outcome =
            ProbeDrive(state, runner, *mutex, LetterCandidate(letter), ansi, &entry);
        text = entry.listText;
        return outcome == ProbeOutcome::kSupported ? 1 : 0;
    }

    SimulatedTransport drives;
    DriveState state{drives};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    NoCompletionMessages sink;
    CommandRunner runner{state, *mutex, &sink};
    SingleByte ansi;
    std::string text;
};

// The block and the reply area are prepared before the letter is opened, so a letter without a
// drive leaves the model read in the block (what the watcher's first poll takes its time-out from).
TEST_F(ProbeDriveLetterTest, ALetterThatCannotBeOpenedStillLeavesTheModelReadPrepared) {
    state.block.code = 0x3B;
    state.block.timeout = 10;
    std::memset(state.buffers.DataInBuffer(), 0xAA, 64);
    EXPECT_EQ(Probe('Z'), 0);
    EXPECT_EQ(state.block.code, kCodeReadModelBuffer);
    EXPECT_EQ(state.block.timeout, 1);
    const uint8_t* reply = state.buffers.DataInBuffer();
    for (int i = 0; i < 48; ++i) {
        EXPECT_EQ(reply[i], 0) << i;
    }
    EXPECT_EQ(reply[48], 0xAA);
    EXPECT_EQ(state.driveHandle, kNoDevice);
    // A program that waits for drives slow over their first command prepares its own time-out.
    state.modelReadTimeoutSeconds = kPatientModelReadTimeoutSeconds;
    EXPECT_EQ(Probe('Z'), 0);
    EXPECT_EQ(state.block.timeout, 4);
}

TEST_F(ProbeDriveLetterTest, AListedDriveEndsClosedWithTheInquiryInTheBlock) {
    drives.AddDrive('E');
    EXPECT_EQ(Probe('E'), 1);
    EXPECT_EQ(text, "E: VELMORA CD-R DRIVE      1.00");
    EXPECT_EQ(state.block.code, kCodeInquiryFull);
    EXPECT_EQ(state.block.timeout, 2);
    EXPECT_EQ(state.driveHandle, kNoDevice);
    EXPECT_EQ(drives.OpenHandleCount(), 0);
}

// The standard INQUIRY is 36 bytes; the list needs no more, the reply area having been zeroed.
TEST_F(ProbeDriveLetterTest, ADriveWithA36ByteInquiryIsListedWithItsText) {
    SimulatedDriveConfig config;
    config.inquiryTail = "TAIL";
    drives.AddDrive('E', config).AddFault(ShortReply(0x12, 36));
    std::memset(state.buffers.DataInBuffer(), 'x', 256);
    EXPECT_EQ(Probe('E'), 1);
    EXPECT_EQ(text, "E: VELMORA CD-R DRIVE      1.00");
}

}  // namespace
