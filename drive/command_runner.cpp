#include "drive/command_runner.h"

#include <algorithm>
#include <cstring>

#include "drive/sense_class.h"

CommandRunner::CommandRunner(DriveState& state, DriveAccessMutex& mutex, CommandDoneSink* sink,
                             uint32_t waitBoundMs, const WorkerExecutor& executor)
    : state_(state),
      mutex_(mutex),
      context_{&state, sink},
      waitBoundMs_(waitBoundMs),
      executor_(executor) {}

CommandRunner::~CommandRunner() {
    OnCommandDone();
}

int32_t CommandRunner::Run(const DriveLock& /*held*/) {
    RunWorker();
    return state_.block.status;
}

int32_t CommandRunner::RunRead(const DriveLock& held) {
    if (Run(held) != kCommandCompleted && ReportsUnitAttention(state_)) {
        // The failed reply's bytes must not pass for the second one's, whatever length the
        // system reports for it: the area is cleared again, as the caller cleared it first.
        uint8_t* reply = state_.buffers.DataInBuffer();
        if (reply != nullptr && state_.block.transferLength > 0) {
            std::memset(reply, 0,
                        std::min<size_t>(state_.block.transferLength, TransferBuffers::kSize));
        }
        Run(held);
    }
    return state_.block.status;
}

int CommandRunner::ProbeDiscPresence() {
    DriveLock lock(mutex_);
    state_.block.code = kCodeProbeDiscPresence;
    state_.block.timeout = kProbeTimeoutSeconds;
    RunWorker();
    return state_.block.discPresent == 1 ? 1 : 0;
}

int CommandRunner::OnCommandDone() {
    if (workerThread_ != nullptr) {
        CloseThread(workerThread_);
        workerThread_ = nullptr;
    }
    return 0;
}

void CommandRunner::RunWorker() {
    ThreadHandle thread = executor_.Start(CommandWorker, &context_, ThreadPriority::kNormal);
    if (thread == nullptr) {
        MarkNotCarriedOut();
        return;
    }
    StoreWorkerHandle(thread);
    if (WaitForThread(thread, waitBoundMs_)) {
        return;
    }
    // Past the bound the worker still owns the record, the buffers and the drive: wait for
    // its end before anyone reads or sends anything, and count the command as failed.
    WaitForThread(thread, kWaitForever);
    state_.block.status = kCommandFailed;
    if (state_.block.code == kCodeProbeDiscPresence) {
        state_.block.discPresent = 1;
    }
}

// An earlier worker has ended (every run waits for its end), so its handle can go now rather
// than leak when the completion messages are handled after several commands.
void CommandRunner::StoreWorkerHandle(ThreadHandle thread) {
    if (workerThread_ != nullptr) {
        CloseThread(workerThread_);
    }
    workerThread_ = thread;
}

void CommandRunner::MarkNotCarriedOut() {
    std::memset(state_.request.sense, 0, sizeof(state_.request.sense));
    state_.block.status = kCommandFailed;
    state_.block.transport = TransportResult{TransportOutcome::kRejected, 0, 0, 0};
    if (state_.block.code == kCodeProbeDiscPresence) {
        state_.block.discPresent = 1;
    }
}
