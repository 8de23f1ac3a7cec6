// Opening and closing the selected drive by its device path ("E:", "/dev/sg1").
#pragma once

#include <string>

#include "drive/drive_state.h"

// Opens the device and stores its handle in the state's DriveHandle, or kNoDevice when the system
// refuses, with the system's reason in state.openError (0 after a successful open). Returns the
// stored handle.
DeviceHandle OpenDrive(DriveState& state, const std::string& devicePath);

// Closes the handle the variable holds, if any, and sets the variable to kNoDevice.
// Always returns 1.
int CloseDrive(ScsiTransport& transport, DeviceHandle& handle);
