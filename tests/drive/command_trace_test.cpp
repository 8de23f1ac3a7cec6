// The command trace: one line per command, from the drive state's sink, for a user's bug report.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drive/command_catalogue.h"
#include "tests/drive/drive_fixture.h"

namespace {

struct CollectingSink : CommandTraceSink {
    void OnCommand(const TracedCommand& command) override {
        lines.push_back(FormatTraceLine(command));
    }
    std::vector<std::string> lines;
};

// The time taken is measured, so it is checked for its form only.
std::string WithoutTime(const std::string& line) {
    const size_t at = line.find(" time=");
    EXPECT_NE(at, std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 2), "us");
    return line.substr(0, at);
}

class CommandTraceTest : public DriveFixture {
protected:
    CollectingSink sink;
};

TEST_F(CommandTraceTest, EachCommandGivesOneLineWithItsAnswerAndHowTheSystemEndedIt) {
    state.trace = &sink;
    transport.AnswerOnce(0x3C, Reply(std::vector<uint8_t>(20, 1)));
    ReadBuffer(state, 0xF4, 1, 0, 256);
    transport.AnswerOnce(0x00, CheckCondition(0x02, 0x3A, 0x01));
    TestUnitReady(state);
    ScriptedAnswer refused;
    refused.rejected = true;
    refused.osError = 1;
    transport.AnswerOnce(0x3B, refused);
    state.buffers.DataOutBuffer()[0] = 0x09;
    WriteBuffer(state, 0xFA, 1, 0, 2);

    ASSERT_EQ(sink.lines.size(), 3u);
    EXPECT_EQ(WithoutTime(sink.lines[0]),
              "cdb=3C01F4000000000100000000 len=12 dir=in xfer=256 timeout=0 status=00 "
              "sense=00/00/00 in=256");
    EXPECT_EQ(WithoutTime(sink.lines[1]),
              "cdb=000000000000 len=6 dir=none xfer=0 timeout=0 status=02 sense=02/3A/01");
    EXPECT_EQ(WithoutTime(sink.lines[2]),
              "cdb=3B01FA000000000002000000 len=12 dir=out xfer=2 timeout=0 status=00 "
              "sense=00/00/00 out=0900 os=rejected:1");

    state.trace = nullptr;  // none installed: nothing is told
    TestUnitReady(state);
    EXPECT_EQ(sink.lines.size(), 3u);
}

// A transfer longer than the buffer is refused before the system sees it: its trace copies none
// of the buffer (reading past it), and no command copies more than the buffer holds.
TEST_F(CommandTraceTest, DataOutIsCopiedOnlyForACommandHandedOnAndNeverPastTheBuffer) {
    std::vector<TracedCommand> traced;
    struct Keeping : CommandTraceSink {
        explicit Keeping(std::vector<TracedCommand>& into) : kept(into) {}
        void OnCommand(const TracedCommand& command) override { kept.push_back(command); }
        std::vector<TracedCommand>& kept;
    } keeping(traced);
    state.trace = &keeping;
    WriteBuffer(state, 0xFA, 1, 0, TransferBuffers::kSize + 1);
    SendRawCdb(state, Cdb{0x3B}, TransferBuffers::kSize, kDirectionOut);
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_TRUE(traced[0].dataOut.empty());
    EXPECT_EQ(traced[0].transferLength, TransferBuffers::kSize + 1);
    EXPECT_EQ(traced[1].dataOut.size(), TransferBuffers::kSize);
}

}  // namespace
