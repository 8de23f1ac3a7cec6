// The drives the window lists and which of them is selected. Discovery fills the table in the
// order the system offers the devices (on Windows, of their letters); an entry's index is its
// position in the drive list, and the selected entry is the drive the window opens and watches.
// An entry found to be gone, or to lead to another device now, is not opened again until the drive
// list is read again.
#pragma once

#include <map>
#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_identity.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/narrow_code_page.h"
#include "settings/user_message.h"

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

    // Opens the selected drive into the state's DriveHandle and confirms that it is the drive
    // that was listed (OpenIdentifiedDrive). With no listed drive selected nothing is opened:
    // kNotOpened, the handle kNoDevice and openError 0. The caller looks at SelectedGone() first.
    IdentityOutcome OpenSelected(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                                 const NarrowCodePage& codePage) const;

    // Marks the selected entry gone, with the words to give whenever it is chosen again.
    void MarkSelectedGone(const UserMessage& reason);
    // The selected entry's words when it is gone; nullptr when it may be opened.
    const UserMessage* SelectedGone() const;

private:
    bool SelectionListed() const { return selected_ >= 0 && selected_ < Count(); }

    DriveTable table_;
    DiscoveryReport discovery_;
    std::map<int, UserMessage> gone_;  // by entry index
    int selected_ = 0;
};
