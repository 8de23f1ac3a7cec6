#include "drive/media_watcher.h"

#include <chrono>

#include "drive/command_catalogue.h"
#include "drive/drive_gone.h"
#include "drive/sense_class.h"

namespace {

constexpr uint8_t kReadyBufferId = 0xF4;
constexpr uint8_t kReadyBufferMode = 0;  // combined header and data
constexpr uint32_t kReadyReplyLength = 256;
constexpr int kReadyByte = 24;

}  // namespace

MediaWatcher& GetMediaWatcher() {
    static MediaWatcher watcher;
    return watcher;
}

ThreadHandle MediaWatcher::Start(DriveState& state, DriveAccessMutex& mutex,
                                 std::unique_ptr<DriveReadLock> readLock,
                                 const WorkerExecutor& executor) {
    state_ = &state;
    mutex_ = &mutex;
    readLock_ = std::move(readLock);
    driveGone_.store(0, std::memory_order_relaxed);
    return executor.Start(MediaWatcherLoop, this, ThreadPriority::kIdle);
}

int MediaWatcher::PollOnce(DriveState& state, DriveAccessMutex& mutex) {
    state_ = &state;
    mutex_ = &mutex;
    Poll();
    return IsReady();
}

// Sent directly on the calling thread, with whatever time-out the command block holds now. The
// byte is preset so that neither a failed poll nor a short reply leaves another command's byte 24
// as the flag.
int PollReadyByte(DriveState& state, DriveAccessMutex& mutex) {
    DriveLock lock(mutex);
    uint8_t* reply = state.buffers.DataInBuffer();
    if (reply == nullptr) {
        return 0;
    }
    reply[kReadyByte] = 0;
    int answered = ReadBuffer(state, kReadyBufferId, kReadyBufferMode, 0, kReadyReplyLength);
    if (answered == 0 && ReportsUnitAttention(state)) {  // as CommandRunner::RunRead: once more
        reply[kReadyByte] = 0;
        answered = ReadBuffer(state, kReadyBufferId, kReadyBufferMode, 0, kReadyReplyLength);
    }
    return answered == 1 && reply[kReadyByte] == 1 ? 1 : 0;
}

// The mutex comes first: a writer of this process holds it while it waits for the drive's lock,
// so the read lock is only ever tried, never waited for, and never held across a wait.
ReadyPoll PollReadiness(DriveState& state, DriveAccessMutex& mutex, DriveReadLock* readLock) {
    DriveLock lock(mutex);
    if (readLock != nullptr && !readLock->TryHold()) {
        return ReadyPoll::kSkipped;
    }
    const int ready = PollReadyByte(state, mutex);
    const bool gone = state.endOnGoneDrive && ReportsDriveGone(state.block.transport);
    if (readLock != nullptr) {
        readLock->Release();
    }
    if (gone) {
        return ReadyPoll::kDriveGone;
    }
    return ready == 1 ? ReadyPoll::kReady : ReadyPoll::kNotReady;
}

void MediaWatcher::Poll() {
    const ReadyPoll poll = PollReadiness(*state_, *mutex_, readLock_.get());
    if (poll == ReadyPoll::kSkipped) {
        return;
    }
    ready_.store(poll == ReadyPoll::kReady ? 1 : 0, std::memory_order_relaxed);
    if (poll == ReadyPoll::kDriveGone) {
        driveGone_.store(1, std::memory_order_relaxed);
    }
}

// False when a stop request was seen (and cleared). A request made during a poll is seen before
// the wait begins and honoured right after that poll; one made during the wait ends it at once.
// A drive found gone is polled no more: the thread only waits for its stop request.
bool MediaWatcher::SleepUnlessStopped() {
    std::unique_lock<std::mutex> lock(stopMutex_);
    const auto stopRequested = [this] { return stopRequest_.load(std::memory_order_relaxed) == 1; };
    if (DriveGone() == 1) {
        stopSignal_.wait(lock, stopRequested);
    } else {
        stopSignal_.wait_for(lock, std::chrono::milliseconds(timing_.pollPeriodMs), stopRequested);
    }
    return stopRequest_.exchange(0, std::memory_order_relaxed) != 1;
}

void MediaWatcher::RequestStop() {
    {
        std::lock_guard<std::mutex> lock(stopMutex_);
        stopRequest_.store(1, std::memory_order_relaxed);
    }
    stopSignal_.notify_all();
}

void MediaWatcherLoop(void* watcher) {
    MediaWatcher& self = *static_cast<MediaWatcher*>(watcher);
    do {
        self.Poll();
    } while (self.SleepUnlessStopped());
}

// A loop that has already ended (one run on the calling thread) is not asked to stop: nobody would
// clear the request, and the next loop would end after its first poll.
void StopMediaWatcher(MediaWatcher& watcher, ThreadHandle* thread) {
    if (*thread == nullptr) {
        return;
    }
    if (!WaitForThread(*thread, 0)) {
        watcher.RequestStop();
    }
    WaitForThread(*thread, kWaitForever);
    CloseThread(*thread);
    *thread = nullptr;
    watcher.ReleaseDrive();
}
