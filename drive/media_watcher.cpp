#include "drive/media_watcher.h"

#include "drive/command_catalogue.h"

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

ThreadHandle MediaWatcher::Start(DriveState& state, DriveAccessMutex& mutex) {
    state_ = &state;
    mutex_ = &mutex;
    return StartThread(MediaWatcherLoop, this, ThreadPriority::kIdle);
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
    const int answered = ReadBuffer(state, kReadyBufferId, kReadyBufferMode, 0, kReadyReplyLength);
    return answered == 1 && reply[kReadyByte] == 1 ? 1 : 0;
}

void MediaWatcher::Poll() {
    ready_.store(PollReadyByte(*state_, *mutex_), std::memory_order_relaxed);
}

// False when a stop request was seen (and cleared). It is looked for before every step, so a
// request made during a poll is honoured right after that poll.
bool MediaWatcher::SleepUnlessStopped() {
    const uint32_t step = timing_.stopCheckMs > 0 ? timing_.stopCheckMs : 1;
    for (uint32_t waited = 0;; waited += step) {
        if (stopRequest_.exchange(0, std::memory_order_relaxed) == 1) {
            return false;
        }
        if (waited >= timing_.pollPeriodMs) {
            return true;
        }
        SleepMilliseconds(step);
    }
}

void MediaWatcherLoop(void* watcher) {
    MediaWatcher& self = *static_cast<MediaWatcher*>(watcher);
    do {
        self.Poll();
    } while (self.SleepUnlessStopped());
}

void StopMediaWatcher(MediaWatcher& watcher, ThreadHandle* thread) {
    if (*thread == nullptr) {
        return;
    }
    watcher.RequestStop();
    WaitForThread(*thread, kWaitForever);
    CloseThread(*thread);
    *thread = nullptr;
}
