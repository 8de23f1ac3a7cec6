// The demo: the whole program with its drives simulated in-process (app/demo_drives.h) instead of
// the system's pass-through, or with the drives a diagnostic report recorded (--replay FILE,
// sim/replayed_report.h). It claims a single-instance name and a mutex of its own, so that it
// starts and runs beside the real program without either waiting for the other.
#pragma once

#include "dialog/dialog_backend.h"
#include "sim/replayed_report.h"

extern const char kDemoSingleInstanceName[];
// The demo's drive-access mutex: its own, so that a demo left open (a message box showing while it
// holds the mutex) never blocks the real program's drive commands.
extern const char kDemoMutexName[];

// Runs the program on the backend with the demo's drives; returns its exit code.
int RunDemo(DialogBackend& backend);

// Runs the program on the backend with the drives the report recorded, in its order.
int RunReplayDemo(DialogBackend& backend, const ReplayedReport& report);
