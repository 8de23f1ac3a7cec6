#include "ui/drive_selection.h"

#include "drive/drive_handle.h"

int DriveSelection::Discover(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                             const std::vector<DriveCandidate>& candidates,
                             const NarrowCodePage& codePage) {
    table_ = DiscoverDrives(state, runner, mutex, candidates, codePage, &discovery_);
    return Count();
}

DriveCandidate DriveSelection::SelectedDevice() const {
    return SelectionListed() ? table_[static_cast<size_t>(selected_)].device : DriveCandidate{};
}

DeviceHandle DriveSelection::OpenSelected(DriveState& state) const {
    if (!SelectionListed()) {
        state.driveHandle = kNoDevice;
        state.openError = 0;
        return kNoDevice;
    }
    return OpenDrive(state, SelectedDevice().devicePath);
}
