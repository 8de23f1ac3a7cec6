// Where a command worker and the media watcher's loop run. The programs give each its own thread,
// so that the calling protocol's bounded wait holds; tests and fuzz targets that need the
// protocol's logic but not its threads run the body on the calling thread, ended before Start
// returns, through the same handle, waits and CloseThread.
#pragma once

#include "platform/thread.h"

class WorkerExecutor {
public:
    virtual ~WorkerExecutor() = default;
    // Starts body(argument); nullptr when it cannot be started.
    virtual ThreadHandle Start(void (*body)(void*), void* argument,
                               ThreadPriority priority) const = 0;
};

// A thread of its own for each start: the executor of the programs.
const WorkerExecutor& ThreadPerWorker();

// The body runs at once on the calling thread; the priority does not apply.
const WorkerExecutor& InlineWorker();
