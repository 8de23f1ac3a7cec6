#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/interrupt_signals.h"

namespace {

std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read and written from a signal handler");

// The self-pipe an event loop watches: the handler writes a byte to its write end.
std::atomic<int> noticeRead{-1};
std::atomic<int> noticeWrite{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read from a signal handler");

constexpr int kEndRequests[] = {SIGINT, SIGTERM, SIGHUP};

// Only async-signal-safe calls: the flag, a write that never blocks (the pipe is non-blocking,
// and a full one already says that a request came), and sigaction to give the signal its
// default action again, so that a second one ends the program. errno is the interrupted code's.
void OnEndRequest(int signalNumber) {
    const int savedErrno = errno;
    requested.store(true);
    const int notice = noticeWrite.load();
    if (notice >= 0) {
        const char byte = 0;
        const ssize_t written = write(notice, &byte, 1);
        static_cast<void>(written);
    }
    struct sigaction defaultAction = {};
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signalNumber, &defaultAction, nullptr);
    errno = savedErrno;
}

void Install(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // A read or wait that the signal interrupts is resumed: the command under way is finished.
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

// Made once, before the first handler can run; both ends stay open for the process's life.
void MakeNoticePipe() {
    if (noticeRead.load() >= 0) {
        return;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
        noticeRead.store(ends[0]);
        noticeWrite.store(ends[1]);
    }
}

}  // namespace

void RecordInterruptRequests() {
    MakeNoticePipe();
    for (int signalNumber : kEndRequests) {
        Install(signalNumber, OnEndRequest);
    }
}

bool InterruptRequested() {
    return requested.load();
}

int InterruptNoticeDescriptor() {
    return noticeRead.load();
}

void TakeInterruptNotices() {
    const int notice = noticeRead.load();
    if (notice < 0) {
        return;
    }
    char bytes[64];
    for (;;) {
        const ssize_t got = read(notice, bytes, sizeof bytes);
        if (got <= 0 && !(got < 0 && errno == EINTR)) {
            return;  // empty (EAGAIN) or failed
        }
    }
}

void KeepInterruptRequestsOffThisThread() {
    sigset_t endRequests;
    sigemptyset(&endRequests);
    for (int signalNumber : kEndRequests) {
        sigaddset(&endRequests, signalNumber);
    }
    pthread_sigmask(SIG_BLOCK, &endRequests, nullptr);
}

void IgnoreBrokenPipes() {
    Install(SIGPIPE, SIG_IGN);
}
