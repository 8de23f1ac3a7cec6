// The drives velmora-drive works on: the system's, through its pass-through and the devices it
// lists, or with --demo the demo's two simulated drives (app/demo_drives.h), whose values last
// for the one run.
#pragma once

#include <memory>

#include "cli/drive_system.h"

std::unique_ptr<DriveSystem> MakeCliDriveSystem(bool demo);
