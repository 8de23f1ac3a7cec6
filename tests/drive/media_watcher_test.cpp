// The media watcher on its own: the poll it sends, the ready flag from byte 24 and from a failed
// poll, and how quickly a stop request is honoured, while sleeping or while it waits for the
// drive-access mutex.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include "drive/drive_handle.h"
#include "drive/media_watcher.h"
#include "sim/simulated_transport.h"
#include "tests/drive/eventually.h"

namespace {

using Clock = std::chrono::steady_clock;

class MediaWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        OpenDrive(state, "E:");
        state.block.timeout = 2;  // as the last command of the window thread left it
    }
    void TearDown() override {
        StopMediaWatcher(watcher, &thread);
        CloseDrive(transport, state.driveHandle);
    }
    void Start() {
        thread = watcher.Start(state, *mutex);
        ASSERT_NE(thread, nullptr);
    }

    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    DriveState state{transport};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    MediaWatcher watcher{MediaWatcherTiming{2}};
    ThreadHandle thread = nullptr;
};

TEST_F(MediaWatcherTest, PollsReadBufferModeZeroOfBufferF4WithTheBlocksTimeout) {
    drive.ForceReadyByte(1);
    Start();
    ASSERT_TRUE(Eventually([&] { return drive.ReceivedCount() >= 2; }));
    const ReceivedCommand poll = drive.Received()[0];
    const std::array<uint8_t, 10> cdb{0x3C, 0x00, 0xF4, 0, 0, 0, 0x00, 0x01, 0x00, 0};
    EXPECT_TRUE(std::equal(cdb.begin(), cdb.end(), poll.cdb.begin()));
    EXPECT_EQ(poll.timeoutSeconds, 2u);
    EXPECT_EQ(poll.dataIn, 1);
    EXPECT_EQ(watcher.IsReady(), 1);
}

TEST_F(MediaWatcherTest, OnlyAOneAtByte24MeansReady) {
    drive.ForceReadyByte(1);
    Start();
    ASSERT_TRUE(Eventually([&] { return watcher.IsReady() == 1; }));
    drive.ForceReadyByte(2);
    EXPECT_TRUE(Eventually([&] { return watcher.IsReady() == 0; }));
    drive.ForceReadyByte(1);
    EXPECT_TRUE(Eventually([&] { return watcher.IsReady() == 1; }));
}

// Byte 24 of the reply buffer holds 1 from another command; a poll that fails must not take it.
TEST_F(MediaWatcherTest, AFailedPollGivesNotReady) {
    drive.ForceReadyByte(1);
    Start();
    ASSERT_TRUE(Eventually([&] { return watcher.IsReady() == 1; }));
    drive.AddFault(Failing({0x3C, 0xF4, 0}, kSenseBecomingReady));
    EXPECT_TRUE(Eventually([&] { return watcher.IsReady() == 0; }));
    StopMediaWatcher(watcher, &thread);

    // From the first poll on: the 1 left in the buffer is not this drive's answer.
    state.buffers.DataInBuffer()[24] = 1;
    drive.ClearReceived();
    MediaWatcher fresh{MediaWatcherTiming{2}};
    thread = fresh.Start(state, *mutex);
    ASSERT_TRUE(Eventually([&] { return drive.ReceivedCount() >= 2; }));
    EXPECT_EQ(fresh.IsReady(), 0);
    StopMediaWatcher(fresh, &thread);
}

TEST_F(MediaWatcherTest, AStopWhileSleepingEndsWithinTheCheckStepAndClearsTheRequest) {
    MediaWatcher slow;  // one-second polls, as the program runs it
    thread = slow.Start(state, *mutex);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(Eventually([&] { return drive.ReceivedCount() == 1; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const auto start = Clock::now();
    StopMediaWatcher(slow, &thread);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(250));
    EXPECT_EQ(thread, nullptr);
    EXPECT_EQ(slow.StopRequested(), 0);
    EXPECT_EQ(drive.ReceivedCount(), 1u);
}

TEST_F(MediaWatcherTest, AStopWhileWaitingForTheMutexEndsRightAfterThatPoll) {
    MediaWatcher slow;
    {
        DriveLock held(*mutex);
        thread = slow.Start(state, *mutex);
        ASSERT_NE(thread, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(drive.ReceivedCount(), 0u);  // no poll while another thread holds the drive
        slow.RequestStop();
    }
    const auto start = Clock::now();
    ASSERT_TRUE(WaitForThread(thread, 5000));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(90));  // before any 100 ms sleep
    CloseThread(thread);
    thread = nullptr;
    EXPECT_EQ(drive.ReceivedCount(), 1u);
    EXPECT_EQ(slow.StopRequested(), 0);
}

// The read lock another program's writer holds: shared between the test and the watcher thread.
struct SharedReadLock : DriveReadLock {
    explicit SharedReadLock(std::atomic<bool>& writerHolds) : held(writerHolds) {}
    bool TryHold() override { return !held.load(); }
    void Release() override {}
    std::atomic<bool>& held;
};

// While a writer holds the drive no poll is sent and the flag stays as it was; then polls resume.
TEST_F(MediaWatcherTest, APollThatCannotHaveTheReadLockIsSkippedAndTheFlagKept) {
    std::atomic<bool> writerHolds{false};
    drive.ForceReadyByte(1);
    thread = watcher.Start(state, *mutex, std::make_unique<SharedReadLock>(writerHolds));
    ASSERT_TRUE(Eventually([&] { return watcher.IsReady() == 1; }));
    writerHolds = true;
    {
        DriveLock between(*mutex);  // no poll is half-way when the count is taken
        drive.ClearReceived();
        drive.ForceReadyByte(0);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(drive.ReceivedCount(), 0u);
    EXPECT_EQ(watcher.IsReady(), 1);
    writerHolds = false;
    EXPECT_TRUE(Eventually([&] { return watcher.IsReady() == 0; }));
}

// With endOnGoneDrive the first poll the system fails as gone is the last; the stop still works.
TEST_F(MediaWatcherTest, ADriveFoundGoneIsPolledNoMoreUntilTheWatcherIsStopped) {
    state.endOnGoneDrive = true;
    Start();
    ASSERT_TRUE(Eventually([&] { return drive.ReceivedCount() >= 1; }));
    transport.FailCommands("E:", -1, ENODEV);
    ASSERT_TRUE(Eventually([&] { return watcher.DriveGone() == 1; }));
    transport.FailCommands("E:", -1, 0);
    const size_t polls = drive.ReceivedCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(drive.ReceivedCount(), polls);
    StopMediaWatcher(watcher, &thread);
    EXPECT_EQ(watcher.StopRequested(), 0);
    Start();
    EXPECT_EQ(watcher.DriveGone(), 0);
    EXPECT_TRUE(Eventually([&] { return drive.ReceivedCount() > polls; }));
}

TEST(MediaWatcherInstance, IsOneObjectNotReadyBeforeAnyPoll) {
    MediaWatcher& first = GetMediaWatcher();
    EXPECT_EQ(&first, &GetMediaWatcher());
    EXPECT_EQ(first.IsReady(), 0);
    EXPECT_EQ(first.StopRequested(), 0);

    ThreadHandle none = nullptr;
    StopMediaWatcher(first, &none);  // no watcher running: no stop request is left behind
    EXPECT_EQ(first.StopRequested(), 0);
}

}  // namespace
