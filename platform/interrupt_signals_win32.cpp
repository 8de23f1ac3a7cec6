#include <windows.h>

#include <atomic>

#include "platform/interrupt_signals.h"

namespace {

std::atomic<bool> requested{false};
std::atomic<bool> recording{false};

// How long the console's closing is held off: Windows ends the process when the handler returns
// (and at the latest after about five seconds), so the handler waits for the command under way.
constexpr DWORD kCloseGraceMs = 4500;
constexpr DWORD kCloseGraceStepMs = 50;

// Runs on a thread of its own. The first Ctrl+C or Ctrl+Break is recorded and handled; a second
// one is left to the default handler, which ends the process.
BOOL WINAPI OnConsoleControl(DWORD event) {
    const bool first = !requested.exchange(true);
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            return first ? TRUE : FALSE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            for (DWORD waited = 0; waited < kCloseGraceMs; waited += kCloseGraceStepMs) {
                Sleep(kCloseGraceStepMs);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void RecordInterruptRequests() {
    if (!recording.exchange(true)) {
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }
}

bool InterruptRequested() {
    return requested.load();
}

// The console's requests come to a handler thread of their own, which can wait; no event loop
// here watches for them.
int InterruptNoticeDescriptor() {
    return -1;
}

void TakeInterruptNotices() {}

// Windows runs the handler on a thread of its own, never on one that runs a command.
void KeepInterruptRequestsOffThisThread() {}

// Windows has no SIGPIPE: a write to a pipe whose reader is gone already fails with an error.
void IgnoreBrokenPipes() {}
