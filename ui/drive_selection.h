// The drives the window lists and which of them is selected. Discovery fills the table in the
// order the system offers the devices (on Windows, of their letters); an entry's index is its
// position in the drive list, and the selected entry is the drive the window opens and watches.
#pragma once

#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/narrow_code_page.h"

class DriveSelection {
public:
    // Lists the supported drives among the candidates; no drive stays open. Returns how many.
    int Discover(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                 const std::vector<DriveCandidate>& candidates, const NarrowCodePage& codePage);

    const DriveTable& Table() const { return table_; }
    // What the last discovery met besides the drives it listed.
    const DiscoveryReport& LastDiscovery() const { return discovery_; }
    int Count() const { return static_cast<int>(table_.size()); }

    void Select(int index) { selected_ = index; }
    int Selected() const { return selected_; }
    // The selected entry's device; an empty one when the selection names no listed drive.
    DriveCandidate SelectedDevice() const;

    // Opens the selected drive into the state's DriveHandle. With no listed drive selected
    // nothing is opened: the handle is kNoDevice and openError 0.
    DeviceHandle OpenSelected(DriveState& state) const;

private:
    bool SelectionListed() const { return selected_ >= 0 && selected_ < Count(); }

    DriveTable table_;
    DiscoveryReport discovery_;
    int selected_ = 0;
};
