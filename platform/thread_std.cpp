// Threads on the C++ standard library. A thread records its own end under a lock so that a
// bounded wait can be answered without joining; CloseThread joins and frees the record.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "platform/interrupt_signals.h"
#include "platform/thread.h"

struct ThreadRecord {
    std::thread thread;
    std::mutex lock;
    std::condition_variable endedSignal;
    bool ended = false;
};

namespace {

// The command workers and the media watcher run here: the requests to end the program go to the
// threads that wait for them instead.
void RunAndMarkEnded(ThreadRecord* record, void (*body)(void*), void* argument) {
    KeepInterruptRequestsOffThisThread();
    body(argument);
    std::lock_guard<std::mutex> guard(record->lock);
    record->ended = true;
    record->endedSignal.notify_all();
}

}  // namespace

// The standard library has no portable thread priority; the idle request is not honoured here.
ThreadHandle StartThread(void (*body)(void*), void* argument, ThreadPriority /*priority*/) {
    ThreadRecord* record = new (std::nothrow) ThreadRecord;
    if (record == nullptr) {
        return nullptr;
    }
    try {
        record->thread = std::thread(RunAndMarkEnded, record, body, argument);
    } catch (const std::system_error&) {
        delete record;
        return nullptr;
    }
    return record;
}

ThreadHandle RunOnCallingThread(void (*body)(void*), void* argument) {
    ThreadRecord* record = new (std::nothrow) ThreadRecord;
    if (record == nullptr) {
        return nullptr;
    }
    body(argument);
    record->ended = true;  // no other thread knows the record yet
    return record;
}

bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs) {
    if (thread == nullptr) {
        return true;
    }
    std::unique_lock<std::mutex> guard(thread->lock);
    auto hasEnded = [thread] { return thread->ended; };
    if (timeoutMs == kWaitForever) {
        thread->endedSignal.wait(guard, hasEnded);
        return true;
    }
    return thread->endedSignal.wait_for(guard, std::chrono::milliseconds(timeoutMs), hasEnded);
}

void CloseThread(ThreadHandle thread) {
    if (thread == nullptr) {
        return;
    }
    if (thread->thread.joinable()) {
        thread->thread.join();
    }
    delete thread;
}

void SleepMilliseconds(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
