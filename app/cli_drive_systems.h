// The drives velmora-drive works on: the system's, through its pass-through and the devices it
// lists, with --demo the demo's two simulated drives (app/demo_drives.h), or with --replay FILE
// the drives a diagnostic report recorded (sim/replayed_report.h); simulated values last for the
// one run.
#pragma once

#include <memory>

#include "cli/drive_system.h"

std::unique_ptr<DriveSystem> MakeCliDriveSystem(const DriveSource& source);
