#include "drive/command_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "drive/command_catalogue.h"
#include "drive/media_watcher.h"
#include "tests/drive/drive_fixture.h"

namespace {

class CountingSink : public CommandDoneSink {
public:
    void PostCommandDone() override { ++posted; }
    std::atomic<int> posted{0};
};

class CommandRunnerTest : public DriveFixture {
protected:
    void UseWaitBound(uint32_t milliseconds) {
        runner = std::make_unique<CommandRunner>(state, *mutex, &sink, milliseconds);
    }
    void FillSettingsRead() {
        state.block.code = kCodeReadBuffer;
        state.block.timeout = 10;
        state.block.bufferId = 0xF4;
        state.block.bufferMode = 1;
        state.block.transferLength = 256;
    }

    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    CountingSink sink;
    std::unique_ptr<CommandRunner> runner = std::make_unique<CommandRunner>(state, *mutex, &sink);
};

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST_F(CommandRunnerTest, RunsOnAWorkerAndReturnsItsOwnResult) {
    std::vector<uint8_t> page(256, 0);
    page[19] = 1;
    transport.AnswerAlways(0x3C, Reply(page));
    DriveLock lock(*mutex);
    FillSettingsRead();
    EXPECT_EQ(runner->Run(lock), kCommandCompleted);
    EXPECT_EQ(state.buffers.DataInBuffer()[19], 1);
    EXPECT_NE(OnlySent().sender, std::this_thread::get_id());
    EXPECT_EQ(OnlySent().record.header.TimeOutValue, 10u);
    EXPECT_EQ(sink.posted, 1);

    transport.AnswerAlways(0x3C, CheckCondition(0x02, 0x3A, 0x00));
    EXPECT_EQ(runner->Run(lock), kCommandFailed);
    EXPECT_EQ(sink.posted, 2);
}

// A worker past the wait bound still owns the record and the drive: the caller must not read,
// go on or let go of the mutex before it has ended, and the command counts as failed.
TEST_F(CommandRunnerTest, WorkerPastTheBoundIsWaitedForAndCountsAsFailed) {
    UseWaitBound(20);
    DriveLock lock(*mutex);
    state.block.code = kCodeTestUnitReady;
    ASSERT_EQ(runner->Run(lock), kCommandCompleted);
    transport.SetDelayMs(150);
    auto start = Clock::now();
    EXPECT_EQ(runner->Run(lock), kCommandFailed);
    EXPECT_GE(MillisecondsSince(start), 140);
    EXPECT_EQ(transport.Finished(), 2);
    EXPECT_EQ(sink.posted, 2);
}

TEST_F(CommandRunnerTest, WorkerWithinTheBoundKeepsItsResult) {
    UseWaitBound(2000);
    transport.SetDelayMs(30);
    DriveLock lock(*mutex);
    state.block.code = kCodeTestUnitReady;
    EXPECT_EQ(runner->Run(lock), kCommandCompleted);
}

TEST_F(CommandRunnerTest, ProbePastTheBoundSaysDiscPresent) {
    UseWaitBound(20);
    transport.SetDelayMs(15);
    transport.AnswerAlways(0x51, CheckCondition(0x02, 0x3A, 0x02));  // would mean no disc
    EXPECT_EQ(runner->ProbeDiscPresence(), 1);
    EXPECT_EQ(transport.Finished(), 3);
    EXPECT_EQ(static_cast<int>(transport.Sent().size()), 3);
    EXPECT_EQ(state.block.status, kCommandFailed);
}

TEST_F(CommandRunnerTest, ProbeRunsWithItsOwnCodeAndTimeout) {
    transport.AnswerAlways(0x51, CheckCondition(0x02, 0x3A, 0x02));
    state.block.timeout = 1;
    EXPECT_EQ(runner->ProbeDiscPresence(), 0);
    EXPECT_EQ(state.block.code, kCodeProbeDiscPresence);
    for (const SentCommand& command : transport.Sent()) {
        EXPECT_EQ(command.record.header.TimeOutValue, 10u);
    }
    transport.AnswerAlways(0x51, ScriptedAnswer{});
    transport.AnswerAlways(0x4A, Reply({0, 6, 4, 0x10, 4, 0x02, 0, 0}));
    EXPECT_EQ(runner->ProbeDiscPresence(), 1);
}

// The probe takes the mutex again inside a caller's hold; afterwards the caller still owns it.
TEST_F(CommandRunnerTest, ProbeInsideAHeldLockKeepsTheCallersAcquisition) {
    std::atomic<bool> otherThreadGotIt{false};
    std::thread other;
    {
        DriveLock lock(*mutex);
        EXPECT_EQ(runner->ProbeDiscPresence(), 1);
        other = std::thread([&] {
            DriveLock otherLock(*mutex);
            otherThreadGotIt = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_FALSE(otherThreadGotIt);
    }
    other.join();
    EXPECT_TRUE(otherThreadGotIt);
}

TEST_F(CommandRunnerTest, CompletionHandlerClosesTheLatestHandleOnce) {
    EXPECT_EQ(runner->OnCommandDone(), 0);
    DriveLock lock(*mutex);
    state.block.code = kCodeTestUnitReady;
    // Several commands before the completion messages are handled: earlier handles are closed
    // as later ones are stored (a leak shows under the address sanitizer).
    for (int i = 0; i < 3; ++i) {
        runner->Run(lock);
        EXPECT_TRUE(runner->HoldsWorkerHandle());
    }
    EXPECT_EQ(runner->OnCommandDone(), 0);
    EXPECT_FALSE(runner->HoldsWorkerHandle());
    EXPECT_EQ(runner->OnCommandDone(), 0);
    EXPECT_EQ(sink.posted, 3);
}

// A watcher-like thread polls directly under the mutex while the window thread runs commands
// through workers; the thread sanitizer sees any use of the shared state outside the lock.
TEST_F(CommandRunnerTest, DirectPollsAndWorkerCommandsAreSerialised) {
    std::vector<uint8_t> page(256, 0);
    page[24] = 1;
    transport.AnswerAlways(0x3C, Reply(page));
    std::atomic<int> readyPolls{0};
    std::thread watcher([&] {
        for (int i = 0; i < 20; ++i) {
            DriveLock lock(*mutex);
            ReadBuffer(state, 0xF4, 0, 0, 256);
            readyPolls += state.buffers.DataInBuffer()[24] == 1 ? 1 : 0;
        }
    });
    for (int i = 0; i < 20; ++i) {
        DriveLock lock(*mutex);
        FillSettingsRead();
        EXPECT_EQ(runner->Run(lock), kCommandCompleted);
        runner->OnCommandDone();
    }
    watcher.join();
    EXPECT_EQ(readyPolls, 20);
    EXPECT_EQ(transport.Sent().size(), 40u);
}

class RefusingExecutor : public WorkerExecutor {
public:
    ThreadHandle Start(void (*)(void*), void*, ThreadPriority) const override { return nullptr; }
};

// On the calling thread the protocol is the same: the result, the completion, the handle.
TEST_F(CommandRunnerTest, InlineWorkerRunsTheProtocolOnTheCallingThread) {
    CommandRunner inlineRunner(state, *mutex, &sink, kCommandWaitMs, InlineWorker());
    DriveLock lock(*mutex);
    state.block.code = kCodeTestUnitReady;
    EXPECT_EQ(inlineRunner.Run(lock), kCommandCompleted);
    EXPECT_EQ(OnlySent().sender, std::this_thread::get_id());
    EXPECT_EQ(sink.posted, 1);
    EXPECT_TRUE(inlineRunner.HoldsWorkerHandle());
    inlineRunner.OnCommandDone();
    EXPECT_FALSE(inlineRunner.HoldsWorkerHandle());

    transport.AnswerAlways(0x51, CheckCondition(0x02, 0x3A, 0x02));
    EXPECT_EQ(inlineRunner.ProbeDiscPresence(), 0);
}

// A worker the system cannot start sends nothing, and leaves no earlier command's outcome behind.
TEST_F(CommandRunnerTest, WorkerThatCannotStartCountsAsRejected) {
    const RefusingExecutor refusing;
    CommandRunner refused(state, *mutex, &sink, kCommandWaitMs, refusing);
    DriveLock lock(*mutex);
    state.block.code = kCodeTestUnitReady;
    state.block.status = kCommandCompleted;
    state.request.sense[2] = 0x02;
    EXPECT_EQ(refused.Run(lock), kCommandFailed);
    EXPECT_EQ(state.request.sense[2], 0);
    EXPECT_EQ(state.block.transport.outcome, TransportOutcome::kRejected);
    EXPECT_FALSE(refused.HoldsWorkerHandle());
    EXPECT_EQ(refused.ProbeDiscPresence(), 1);
    EXPECT_TRUE(transport.Sent().empty());
    EXPECT_EQ(sink.posted, 0);
}

}  // namespace

// A unit attention's reply may carry bytes (a system that reports the whole transfer moved), and
// the read sent again may come back GOOD without writing any: neither the settings read nor the
// ready poll may then take the first reply's bytes for the second's.
TEST_F(CommandRunnerTest, AReadSentAgainAfterAUnitAttentionKeepsNothingOfTheFirstReply) {
    std::vector<uint8_t> stale(256, 1);
    ScriptedAnswer attention = CheckCondition(0x06, 0x29, 0x00);
    attention.reply = stale;
    transport.AnswerOnce(0x3C, attention);
    transport.AnswerOnce(0x3C, Reply({}));
    {
        DriveLock lock(*mutex);
        FillSettingsRead();
        EXPECT_EQ(runner->RunRead(lock), kCommandCompleted);
    }
    const uint8_t* reply = state.buffers.DataInBuffer();
    EXPECT_EQ(std::count(reply, reply + 256, 0), 256);

    transport.AnswerOnce(0x3C, attention);
    transport.AnswerOnce(0x3C, Reply({}));
    EXPECT_EQ(PollReadyByte(state, *mutex), 0);
    EXPECT_EQ(transport.Sent().size(), 4u);
}
