// Threads and waits: the short-lived command workers and the media watcher run on these.
#pragma once

#include <cstdint>

struct ThreadRecord;
using ThreadHandle = ThreadRecord*;  // nullptr: no thread

constexpr uint32_t kWaitForever = 0xFFFFFFFFu;

enum class ThreadPriority { kNormal, kIdle };

// Starts body(argument) at once; nullptr when the system cannot start a thread.
ThreadHandle StartThread(void (*body)(void*), void* argument,
                         ThreadPriority priority = ThreadPriority::kNormal);

// Runs body(argument) to its end on the calling thread and returns the handle of a thread that has
// ended, for the same waits and CloseThread as a started one; nullptr (body not run) when even the
// handle cannot be had. For tests and fuzz targets, which need the protocol but not its threads.
ThreadHandle RunOnCallingThread(void (*body)(void*), void* argument);

// Waits at most timeoutMs (or kWaitForever) for the thread to end; true when it has ended.
bool WaitForThread(ThreadHandle thread, uint32_t timeoutMs);

// Releases the handle. The thread must have ended (WaitForThread returned true).
void CloseThread(ThreadHandle thread);

void SleepMilliseconds(uint32_t milliseconds);
