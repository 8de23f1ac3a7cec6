#include "drive/drive_identity.h"

#include <string>

#include "drive/drive_gone.h"
#include "drive/drive_handle.h"

namespace {

// The drive's model read once more; the listed entry's identifier must come back. A drive that
// reports a unit attention (a disc just changed, a bus reset) to the first command after an open
// has it read once more by ReadModelIdentifier itself; a device that refuses the read otherwise is
// not the drive that answered it when it was listed.
IdentityOutcome ConfirmModel(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                             const DriveEntry& entry, const NarrowCodePage& codePage) {
    bool answered = false;
    const char* model = ReadModelIdentifier(state, runner, mutex, codePage, &answered);
    if (answered) {
        const bool same = model != nullptr && entry.model == model;
        return same ? IdentityOutcome::kConfirmed : IdentityOutcome::kOtherDevice;
    }
    if (ReportsDriveGone(state.block.transport)) {
        return IdentityOutcome::kDriveGone;
    }
    if (!state.block.transport.Sent()) {
        return IdentityOutcome::kUnconfirmed;  // the system could not ask it
    }
    return IdentityOutcome::kOtherDevice;
}

}  // namespace

IdentityOutcome OpenIdentifiedDrive(DriveState& state, CommandRunner& runner,
                                    DriveAccessMutex& mutex, const DriveEntry& entry,
                                    const NarrowCodePage& codePage) {
    if (OpenDrive(state, entry.device.devicePath) == kNoDevice) {
        return IdentityOutcome::kNotOpened;
    }
    IdentityOutcome outcome = IdentityOutcome::kOtherDevice;
    if (state.transport.CheckNode(state.driveHandle, entry.device) != NodeCheck::kOtherDevice) {
        outcome = ConfirmModel(state, runner, mutex, entry, codePage);
    }
    if (outcome != IdentityOutcome::kConfirmed) {
        CloseDrive(state.transport, state.driveHandle);
    }
    return outcome;
}
