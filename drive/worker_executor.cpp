#include "drive/worker_executor.h"

namespace {

class ThreadExecutor : public WorkerExecutor {
public:
    ThreadHandle Start(void (*body)(void*), void* argument,
                       ThreadPriority priority) const override {
        return StartThread(body, argument, priority);
    }
};

class InlineExecutor : public WorkerExecutor {
public:
    ThreadHandle Start(void (*body)(void*), void* argument,
                       ThreadPriority /*priority*/) const override {
        return RunOnCallingThread(body, argument);
    }
};

}  // namespace

const WorkerExecutor& ThreadPerWorker() {
    static const ThreadExecutor executor{};
    return executor;
}

const WorkerExecutor& InlineWorker() {
    static const InlineExecutor executor{};
    return executor;
}
