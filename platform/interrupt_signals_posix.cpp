#include <signal.h>

#include <atomic>

#include "platform/interrupt_signals.h"

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read and written from a signal handler");

constexpr int kEndRequests[] = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls: the flag, and sigaction to give the signal its default action
// again, so that a second one ends the program.
void OnEndRequest(int signalNumber) {
    requested.store(true);
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signalNumber, &defaultAction, nullptr);
}

void Install(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // A read or wait that the signal interrupts is resumed: the command under way is finished.
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

}  // namespace

void RecordInterruptRequests() {
    for (int signalNumber : kEndRequests) {
        Install(signalNumber, OnEndRequest);
    }
}

bool InterruptRequested() {
    return requested.load();
}

void IgnoreBrokenPipes() {
    Install(SIGPIPE, SIG_IGN);
}
