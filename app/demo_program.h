// The demo: the whole program with its drives simulated in-process (app/demo_drives.h) instead of
// the system's pass-through. It claims a single-instance name of its own, so that it starts even
// while the real program runs.
#pragma once

#include "platform/dialog_backend.h"

extern const char kDemoSingleInstanceName[];

// Runs the program on the backend with the demo's drives; returns its exit code.
int RunDemo(DialogBackend& backend);
