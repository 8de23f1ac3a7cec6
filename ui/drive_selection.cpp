#include "ui/drive_selection.h"

int DriveSelection::Discover(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                             const std::vector<DriveCandidate>& candidates,
                             const NarrowCodePage& codePage) {
    table_ = DiscoverDrives(state, runner, mutex, candidates, codePage, &discovery_);
    gone_.clear();
    return Count();
}

DriveCandidate DriveSelection::SelectedDevice() const {
    return SelectionListed() ? table_[static_cast<size_t>(selected_)].device : DriveCandidate{};
}

IdentityOutcome DriveSelection::OpenSelected(DriveState& state, CommandRunner& runner,
                                             DriveAccessMutex& mutex,
                                             const NarrowCodePage& codePage) const {
    if (!SelectionListed()) {
        state.driveHandle = kNoDevice;
        state.openError = 0;
        return IdentityOutcome::kNotOpened;
    }
    return OpenIdentifiedDrive(state, runner, mutex, table_[static_cast<size_t>(selected_)],
                               codePage);
}

void DriveSelection::MarkSelectedGone(const UserMessage& reason) {
    if (SelectionListed()) {
        gone_[selected_] = reason;
    }
}

const UserMessage* DriveSelection::SelectedGone() const {
    const auto gone = gone_.find(selected_);
    return gone == gone_.end() ? nullptr : &gone->second;
}
