// Opening a listed drive again, and making sure it is still the drive that was listed before
// anything else is sent to it: the system may have handed its device name (a drive letter, an sr
// or sg number) to another device since. The system's own identity of the node is asked first
// (ScsiTransport::CheckNode: on Linux the node's device number and SCSI address), then the
// drive's model identification is read once more (READ BUFFER, buffer F1h, mode 2, as discovery
// reads it).
#pragma once

#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/narrow_code_page.h"

enum class IdentityOutcome {
    kConfirmed,    // open, and the drive that was listed: its handle is in the state
    kNotOpened,    // the system refused the open (state.openError says why)
    kOtherDevice,  // another device answers there now: closed again, nothing more was sent
    kDriveGone,    // the system says the device is no longer there (ReportsDriveGone): closed
    kUnconfirmed,  // the system could not send the model read (time-out, I/O error): closed
};

// Opens the entry's device into the state's DriveHandle and confirms it. Anything but kConfirmed
// leaves the handle kNoDevice; nothing but the model read (twice when the device refuses the
// first with a UNIT ATTENTION) has been sent.
IdentityOutcome OpenIdentifiedDrive(DriveState& state, CommandRunner& runner,
                                    DriveAccessMutex& mutex, const DriveEntry& entry,
                                    const NarrowCodePage& codePage);
