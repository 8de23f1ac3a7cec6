// The requests to end a console program (SIGINT, SIGTERM and SIGHUP on Linux; Ctrl+C, Ctrl+Break
// and the console's closing on Windows), recorded instead of acted on, so that a program in the
// middle of something it must not cut short (a drive write and its read-back) can stop at the
// next safe point and say what it did. The first request of a kind is only recorded; a second
// one of the same kind ends the program at once, as the system would have. Also: writes to a
// closed pipe fail with an error instead of ending the program (SIGPIPE ignored), so that the
// program can report them.
//
// A program with an event loop (the Linux window) hears of a request through a descriptor that
// the loop watches; the handler itself only sets a flag and writes to that descriptor, which is
// all a signal handler may safely do, and the program acts on the request on its own thread.
#pragma once

// Starts recording for the rest of the process's life. Safe to call more than once (on Linux
// each call installs the handlers afresh: the next signal of every number is a first one again).
void RecordInterruptRequests();

// Whether a request to end has arrived since recording started.
bool InterruptRequested();

// A descriptor that becomes readable when a request arrives (also one that arrived before the
// loop began to watch); -1 where the system has none (Windows) or before recording started.
// TakeInterruptNotices empties it again, so that the loop hears of each request once.
int InterruptNoticeDescriptor();
void TakeInterruptNotices();

// Keeps the requests off the calling thread for the rest of its life: the system hands them to
// another thread of the process. The threads that run drive commands call it, so that no
// handler interrupts a command under way (Linux orphans an SG_IO on a generic node that a
// handled signal interrupts, and a restarted call sends the command a second time).
void KeepInterruptRequestsOffThisThread();

// Writes to a pipe whose reader is gone fail (EPIPE) instead of ending the process.
void IgnoreBrokenPipes();
