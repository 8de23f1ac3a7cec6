// The calling protocol: every drive command of the window runs on a short-lived worker thread
// while the caller holds the DriveAccessMutex and waits for it. (The executor decides where the
// worker runs: its own thread in the programs, the calling thread in fuzz targets and some tests.)
//
//     DriveLock lock(mutex);
//     state.block.code = kCodeReadBuffer;  // and the fields that code reads
//     if (runner.Run(lock) == kCommandCompleted) { read state.buffers.DataInBuffer() }
//
// Run returns only after the worker has ended, so the caller always reads its own command's
// results and never lets go of the drive while a worker still uses it. A worker that outlasts
// the wait bound is still waited for (the pass-through time-out bounds it), and its command
// counts as failed.
#pragma once

#include <cstdint>

#include "drive/command_done_sink.h"
#include "drive/command_worker.h"
#include "drive/drive_state.h"
#include "drive/worker_executor.h"
#include "platform/drive_access_mutex.h"
#include "platform/thread.h"

constexpr uint32_t kCommandWaitMs = 5000;
constexpr int32_t kProbeTimeoutSeconds = 10;

class CommandRunner {
public:
    // sink: told by each worker as it ends; nullptr when nobody needs telling (the runner closes
    // the handles itself, at the next command and at its end). executor: where each worker runs.
    CommandRunner(DriveState& state, DriveAccessMutex& mutex, CommandDoneSink* sink,
                  uint32_t waitBoundMs = kCommandWaitMs,
                  const WorkerExecutor& executor = ThreadPerWorker());
    ~CommandRunner();
    CommandRunner(const CommandRunner&) = delete;
    CommandRunner& operator=(const CommandRunner&) = delete;

    // Runs the command state.block describes; `held` is the caller's acquisition of the
    // DriveAccessMutex, kept across filling the block, this call and reading the results.
    // Returns the CommandStatus afterwards. A worker that could not be started, or that
    // outlasted the wait bound, leaves CommandStatus 4.
    int32_t Run(const DriveLock& held);

    // Runs a read the way Run does, and sends it once more when the drive answered it with UNIT
    // ATTENTION (ReportsUnitAttention): the drive reports a bus reset, a plug-in or a medium change
    // to the first command after it, and the report clears the condition, so the read is counted
    // as failed only when it fails again. Never more than once, and never for a write (WRITE
    // BUFFER, START STOP UNIT), which goes through Run alone: a write is sent once and proved by
    // its read-back.
    int32_t RunRead(const DriveLock& held);

    // Runs the disc-presence probe under its own (recursive) acquisition of the mutex.
    // 1 when a disc is taken to be present, 0 when none is; a probe that could not run or
    // outlasted the wait bound says 1.
    int ProbeDiscPresence();

    // Handler of the completion message: closes the latest worker's thread handle. Returns 0.
    int OnCommandDone();

    // Whether a worker thread handle is still held (closed by the next OnCommandDone).
    bool HoldsWorkerHandle() const { return workerThread_ != nullptr; }

private:
    void RunWorker();
    void StoreWorkerHandle(ThreadHandle thread);
    void MarkNotCarriedOut();

    DriveState& state_;
    DriveAccessMutex& mutex_;
    CommandWorkerContext context_;
    uint32_t waitBoundMs_;
    const WorkerExecutor& executor_;
    ThreadHandle workerThread_ = nullptr;
};
