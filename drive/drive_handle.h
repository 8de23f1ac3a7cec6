// Opening and closing the selected drive by its letter.
#pragma once

#include "platform/scsi_transport.h"

// The drive's handle, or kNoDevice when the system refuses. The caller stores it.
DeviceHandle OpenDrive(ScsiTransport& transport, char driveLetter);

// Closes the handle the variable holds, if any, and sets the variable to kNoDevice.
// Always returns 1.
int CloseDrive(ScsiTransport& transport, DeviceHandle& handle);
