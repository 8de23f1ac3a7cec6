// MediaWatcher: a background thread at idle priority reads the selected drive's ready byte
// (READ BUFFER, buffer F4h, mode 0, byte 24) once a second and keeps it as the ready flag: 1 when
// the audio mode may be changed now. The timer pump enables the audio controls from it.
//
// The ready flag and the stop request are atomic words shared by the window thread and the
// watcher thread; at most one watcher thread runs at a time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "drive/audio_readiness.h"
#include "drive/drive_state.h"
#include "drive/worker_executor.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_claim.h"
#include "platform/thread.h"

struct MediaWatcherTiming {
    uint32_t pollPeriodMs = 1000;  // from the end of one poll to the next
};

class MediaWatcher : public AudioReadiness {
public:
    explicit MediaWatcher(MediaWatcherTiming timing = {}) : timing_(timing) {}
    MediaWatcher(const MediaWatcher&) = delete;
    MediaWatcher& operator=(const MediaWatcher&) = delete;

    // 1 when the last poll's reply had 1 at byte 24; 0 otherwise, after a failed poll, and
    // before any poll. Keeps its value from one watcher thread to the next.
    int IsReady() const override { return ready_.load(std::memory_order_relaxed); }
    // Asks the running watcher thread to end, waking it if it waits between polls; it clears the
    // request as it ends.
    void RequestStop();
    int StopRequested() const { return stopRequest_.load(std::memory_order_relaxed); }

    // Starts a watcher thread polling state's drive under mutex; nullptr when the thread cannot
    // be started. Both must stay valid until the thread has been stopped. readLock, when given,
    // is tried before each poll (another program writing the drive holds it): a poll that cannot
    // have it is skipped and the ready flag keeps its value. It is released when the watcher is
    // stopped. An executor that runs the loop on the calling thread returns only once a stop
    // request has ended it: one made beforehand gives exactly one poll.
    ThreadHandle Start(DriveState& state, DriveAccessMutex& mutex,
                       std::unique_ptr<DriveReadLock> readLock = nullptr,
                       const WorkerExecutor& executor = ThreadPerWorker());
    // 1 once a poll found the drive gone (with state.endOnGoneDrive): the thread then polls no
    // more until it is stopped; 0 again when a watcher is started.
    int DriveGone() const { return driveGone_.load(std::memory_order_relaxed); }
    // After its thread has ended: lets go of the drive's read lock.
    void ReleaseDrive() { readLock_.reset(); }

    // Test hook: one poll on the calling thread, as the loop makes it (with the read lock it was
    // last started with, if any), without starting anything and without looking at the stop
    // request. Returns the ready flag after it.
    int PollOnce(DriveState& state, DriveAccessMutex& mutex);

private:
    friend void MediaWatcherLoop(void* watcher);
    void Poll();
    bool SleepUnlessStopped();

    const MediaWatcherTiming timing_;
    std::atomic<int32_t> ready_{0};
    std::atomic<int32_t> stopRequest_{0};
    std::atomic<int32_t> driveGone_{0};
    // Wakes the wait between polls at once on a stop request: the idle thread sleeps the whole
    // period instead of waking to look for one.
    std::mutex stopMutex_;
    std::condition_variable stopSignal_;
    DriveState* state_ = nullptr;  // set by Start, before the thread exists
    DriveAccessMutex* mutex_ = nullptr;
    std::unique_ptr<DriveReadLock> readLock_;  // set by Start, before the thread exists
};

// One poll of the drive's ready byte (READ BUFFER, buffer F4h, mode 0, byte 24) under the mutex, on
// the calling thread: 1 when the drive allows an audio mode change now; 0 otherwise, also when the
// read fails or its reply stops short of byte 24. A read answered with UNIT ATTENTION is sent once
// more, as CommandRunner::RunRead sends one.
int PollReadyByte(DriveState& state, DriveAccessMutex& mutex);

enum class ReadyPoll {
    kReady,      // byte 24 was 1
    kNotReady,   // anything else, a failed read included
    kSkipped,    // the read lock was held by a writer: nothing was sent
    kDriveGone,  // the system says the drive is no longer there (with state.endOnGoneDrive)
};

// The watcher's poll: under the mutex, the read lock tried without waiting (when there is one),
// then PollReadyByte's read.
ReadyPoll PollReadiness(DriveState& state, DriveAccessMutex& mutex, DriveReadLock* readLock);

// The process's one watcher (one-second polls), created on first use.
MediaWatcher& GetMediaWatcher();

// The watcher thread's body: polls, then waits out the period, until a stop request.
void MediaWatcherLoop(void* watcher);

// If *thread holds a watcher: requests its stop unless it has ended, waits for its end without time
// limit, releases the handle and sets *thread to nullptr. The caller must not hold the mutex.
void StopMediaWatcher(MediaWatcher& watcher, ThreadHandle* thread);
