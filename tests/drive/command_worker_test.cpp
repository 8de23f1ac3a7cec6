#include "drive/command_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "tests/drive/drive_fixture.h"

namespace {

class CountingSink : public CommandDoneSink {
public:
    void PostCommandDone() override { ++posted; }
    std::atomic<int> posted{0};
};

using CommandDispatchTest = DriveFixture;

std::vector<uint8_t> CdbOf(const SentCommand& command, int length) {
    return std::vector<uint8_t>(command.record.header.Cdb, command.record.header.Cdb + length);
}

TEST_F(CommandDispatchTest, BlockFieldsReachTheirCommands) {
    CommandBlock& block = state.block;
    block.code = kCodeReadBuffer;
    block.bufferId = 0xF4;
    block.bufferMode = 1;
    block.bufferOffset = 0;
    block.transferLength = 256;
    PerformCommand(state);
    // The write inherits mode and offset from the read; only id and length are set anew.
    block.code = kCodeWriteBuffer;
    block.bufferId = 0xFA;
    PerformCommand(state);
    block.code = kCodeStartStopUnit;
    block.immediate = 1;
    block.powerCondition = 2;
    block.loadEject = 1;
    block.start = 0;
    PerformCommand(state);

    auto sent = transport.Sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(CdbOf(sent[0], 9), (std::vector<uint8_t>{0x3C, 1, 0xF4, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(CdbOf(sent[1], 9), (std::vector<uint8_t>{0x3B, 1, 0xFA, 0, 0, 0, 0, 1, 0}));
    EXPECT_EQ(sent[1].record.header.DataIn, kScsiDataOut);
    EXPECT_EQ(CdbOf(sent[2], 6), (std::vector<uint8_t>{0x1B, 1, 0, 0, 0x22, 0}));
}

TEST_F(CommandDispatchTest, FixedCodesSendTheirFixedCommands) {
    const struct {
        int32_t code;
        uint8_t opcode;
        uint8_t declared;
        uint32_t length;
    } cases[] = {
        {kCodeTestUnitReady, 0x00, 6, 0},
        {kCodeRequestSense, 0x03, 6, 22},
        {kCodeInquiryFull, 0x12, 12, 254},
        {kCodeReadModelBuffer, 0x3C, 12, 48},
    };
    for (const auto& c : cases) {
        state.block.code = c.code;
        PerformCommand(state);
        const ScsiPassThroughDirect header = transport.Sent().back().record.header;
        EXPECT_EQ(header.Cdb[0], c.opcode) << c.code;
        EXPECT_EQ(header.CdbLength, c.declared) << c.code;
        EXPECT_EQ(header.DataTransferLength, c.length) << c.code;
    }
}

TEST_F(CommandDispatchTest, InquiryTakesTheLowByteOfTheTransferLength) {
    state.block.code = kCodeInquiry;
    state.block.transferLength = 0x1FE;
    PerformCommand(state);
    const ScsiPassThroughDirect header = OnlySent().record.header;
    EXPECT_EQ(header.Cdb[4], 0xFE);
    EXPECT_EQ(header.DataTransferLength, 0xFEu);
    EXPECT_EQ(header.CdbLength, 6);
}

TEST_F(CommandDispatchTest, RawCdbGoesOutUnchangedWithItsDirection) {
    state.block.code = kCodeRawCdb;
    state.block.rawCdb = Cdb{0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0};
    state.block.rawDirection = kDirectionIn;
    state.block.transferLength = 16;
    PerformCommand(state);
    const ScsiPassThroughDirect header = OnlySent().record.header;
    EXPECT_EQ(CdbOf(OnlySent(), 12),
              (std::vector<uint8_t>{0x46, 0x02, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}));
    EXPECT_EQ(header.CdbLength, 12);
    EXPECT_EQ(header.DataIn, kScsiDataIn);
    EXPECT_EQ(header.DataTransferLength, 16u);
}

TEST_F(CommandDispatchTest, UnknownCodeSendsNothingKeepsStatusAndStillPosts) {
    state.block.code = kCodeTestUnitReady;
    PerformCommand(state);
    ASSERT_EQ(state.block.status, kCommandCompleted);
    transport.AnswerAlways(0x00, CheckCondition(2, 0x3A, 0));
    CountingSink sink;
    CommandWorkerContext context{&state, &sink};
    for (int32_t code : {2, 0x13B, 0x50E, -1}) {
        state.block.code = code;
        CommandWorker(&context);
    }
    EXPECT_EQ(transport.Sent().size(), 1u);
    EXPECT_EQ(state.block.status, kCommandCompleted);
    EXPECT_EQ(sink.posted, 4);
}

// Disc-presence probe. Opcodes: 51 READ DISC INFORMATION, 52 READ TRACK INFORMATION,
// 43 READ TOC, 00 TEST UNIT READY, 4A GET EVENT STATUS NOTIFICATION.
class ProbeTest : public DriveFixture {
protected:
    void SetUp() override {
        DriveFixture::SetUp();
        state.block.code = kCodeProbeDiscPresence;
    }
    void AnswerMediaStatus(uint8_t mediaStatus) {
        transport.AnswerAlways(0x4A, Reply({0, 6, 4, 0x10, 4, mediaStatus, 0, 0}));
    }
    int Probe() {
        state.block.discPresent = 0;
        CountingSink sink;
        CommandWorkerContext context{&state, &sink};
        CommandWorker(&context);
        EXPECT_EQ(sink.posted, 1);
        return state.block.discPresent;
    }
    const std::vector<uint8_t> kFullSequence{0x51, 0x52, 0x51, 0x52, 0x43, 0x00, 0x4A};
};

TEST_F(ProbeTest, TrayOpenEndsAfterTheSecondDiscInformation) {
    ScriptedAnswer trayOpen = CheckCondition(0x02, 0x3A, 0x02);
    transport.AnswerAlways(0x51, trayOpen);
    transport.AnswerAlways(0x52, trayOpen);
    EXPECT_EQ(Probe(), 0);
    EXPECT_EQ(transport.Opcodes(), (std::vector<uint8_t>{0x51, 0x52, 0x51}));
}

TEST_F(ProbeTest, EachNoMediumClassFromEachProbingCommandMeansNoDisc) {
    const uint8_t probing[] = {0x51, 0x52, 0x43, 0x00};
    for (size_t which = 0; which < 4; ++which) {
        for (uint8_t ascq : {0x00, 0x01, 0x02}) {
            RecordingTransport local;
            DriveState probeState{local};
            ASSERT_EQ(AllocateTransferBuffers(probeState.buffers), 1);
            probeState.driveHandle = RecordingTransport::kOpenHandle;
            probeState.block.code = kCodeProbeDiscPresence;
            // The first round's answers are ignored, so fail only the second round.
            if (probing[which] == 0x51 || probing[which] == 0x52) {
                local.AnswerOnce(probing[which], ScriptedAnswer{});
            }
            local.AnswerOnce(probing[which], CheckCondition(0x02, 0x3A, ascq));
            PerformCommand(probeState);
            EXPECT_EQ(probeState.block.discPresent, 0) << int(probing[which]) << "/" << int(ascq);
            EXPECT_EQ(local.Opcodes().back(), probing[which]);
        }
    }
}

TEST_F(ProbeTest, FirstRoundAnswersAreIgnored) {
    transport.AnswerOnce(0x51, CheckCondition(0x02, 0x3A, 0x00));
    transport.AnswerOnce(0x52, CheckCondition(0x02, 0x3A, 0x00));
    AnswerMediaStatus(0x02);
    EXPECT_EQ(Probe(), 1);
    EXPECT_EQ(transport.Opcodes(), kFullSequence);
}

TEST_F(ProbeTest, UnreadableTocGoesOnToTheEventCommand) {
    transport.AnswerAlways(0x43, CheckCondition(0x03, 0x57, 0x00));
    AnswerMediaStatus(0x02);
    EXPECT_EQ(Probe(), 1);
    EXPECT_EQ(transport.Opcodes(), kFullSequence);
}

TEST_F(ProbeTest, ClearMediaPresentBitMeansNoDisc) {
    AnswerMediaStatus(0xFD);  // every bit but media present
    EXPECT_EQ(Probe(), 0);
    EXPECT_EQ(transport.Opcodes(), kFullSequence);
}

TEST_F(ProbeTest, FailedEventCommandLeavesDiscPresent) {
    transport.AnswerAlways(0x00, CheckCondition(0x02, 0x04, 0x01));  // becoming ready
    transport.AnswerAlways(0x4A, CheckCondition(0x05, 0x24, 0x00));
    state.buffers.DataInBuffer()[5] = 0;
    EXPECT_EQ(Probe(), 1);
    EXPECT_EQ(transport.Opcodes(), kFullSequence);
}

TEST_F(ProbeTest, ShortEventReplyCountsAsPresent) {
    state.buffers.DataInBuffer()[5] = 0;  // left by an earlier reply
    transport.AnswerAlways(0x4A, Reply({0, 2, 4, 0x10}));
    EXPECT_EQ(Probe(), 1);
}

TEST_F(ProbeTest, FailureWithoutSenseDataIsNotNoMedium) {
    ScriptedAnswer noSense;
    noSense.scsiStatus = 2;
    for (uint8_t opcode : {0x51, 0x52, 0x43, 0x00}) {
        transport.AnswerAlways(opcode, noSense);
    }
    AnswerMediaStatus(0x02);
    EXPECT_EQ(Probe(), 1);
    EXPECT_EQ(transport.Opcodes(), kFullSequence);
}

TEST_F(ProbeTest, EventCommandIsTheMediaClassRequest) {
    AnswerMediaStatus(0x02);
    Probe();
    const SentCommand event = transport.Sent().back();
    EXPECT_EQ(CdbOf(event, 10), (std::vector<uint8_t>{0x4A, 0, 0, 0, 0x10, 0, 0, 0, 8, 0}));
    const SentCommand track = transport.Sent().at(1);
    EXPECT_EQ(CdbOf(track, 10), (std::vector<uint8_t>{0x52, 0, 0, 0, 0, 0, 0, 0, 100, 0}));
}

TEST_F(ProbeTest, WithoutBuffersNothingMeansNoDisc) {
    FreeTransferBuffers(state.buffers);
    EXPECT_EQ(Probe(), 1);
}

}  // namespace
