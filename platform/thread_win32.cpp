// Threads on the Win32 API. The record carries the body and its argument to the thread
// procedure and lives until CloseThread, after the thread has ended.
#include <windows.h>

#include <new>

#include "platform/thread.h"

struct ThreadRecord {
    HANDLE handle = nullptr;  // nullptr: the body ran on the calling thread and has ended
    void (*body)(void*) = nullptr;
    void* argument = nullptr;
};

namespace {

DWORD WINAPI ThreadProcedure(LPVOID parameter) {
    ThreadRecord* record = static_cast<ThreadRecord*>(parameter);
    record->body(record->argument);
    return 0;
}

}  // namespace

ThreadHandle StartThread(void (*body)(void*), void* argument, ThreadPriority priority) {
    ThreadRecord* record = new (std::nothrow) ThreadRecord;
    if (record == nullptr) {
        return nullptr;
    }
    record->body = body;
    record->argument = argument;
    // An idle thread starts suspended so that its priority holds from its first instruction.
    bool idle = priority == ThreadPriority::kIdle;
    record->handle =
        CreateThread(nullptr, 0, ThreadProcedure, record, idle ? CREATE_SUSPENDED : 0, nullptr);
    if (record->handle == nullptr) {
        delete record;
        return nullptr;
    }
    if (idle) {
        SetThreadPriority(record->handle, THREAD_PRIORITY_IDLE);
        ResumeThread(record->handle);
    }
    return record;
}

ThreadHandle RunOnCallingThread(void (*body)(void*), void* argument) {
    ThreadRecord* record = new (std::nothrow) ThreadRecord;
    if (record == nullptr) {
        return nullptr;
    }
    body(argument);
    return record;
}

bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs) {
    if (thread == nullptr || thread->handle == nullptr) {
        return true;
    }
    DWORD wait = timeoutMs == kWaitForever ? INFINITE : static_cast<DWORD>(timeoutMs);
    return WaitForSingleObject(thread->handle, wait) == WAIT_OBJECT_0;
}

void CloseThread(ThreadHandle thread) {
    if (thread == nullptr) {
        return;
    }
    if (thread->handle != nullptr) {
        CloseHandle(thread->handle);
    }
    delete thread;
}

void SleepMilliseconds(uint32_t milliseconds) {
    Sleep(milliseconds);
}
