// The requests to end a console program (SIGINT, SIGTERM and SIGHUP on Linux; Ctrl+C, Ctrl+Break
// and the console's closing on Windows), recorded instead of acted on, so that a program in the
// middle of something it must not cut short (a drive write and its read-back) can stop at the
// next safe point and say what it did. The first request is only recorded; a second one ends the
// program at once, as the system would have. Also: writes to a closed pipe fail with an error
// instead of ending the program (SIGPIPE ignored), so that the program can report them.
#pragma once

// Starts recording for the rest of the process's life. Safe to call more than once.
void RecordInterruptRequests();

// Whether a request to end has arrived since recording started.
bool InterruptRequested();

// Writes to a pipe whose reader is gone fail (EPIPE) instead of ending the process.
void IgnoreBrokenPipes();
