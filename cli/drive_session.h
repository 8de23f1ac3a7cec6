// The drive access of one run of velmora-drive: the drive state with its transfer buffers, the
// drive-access mutex and the calling protocol, over the transport the run was given. The run has
// one drive open at a time, and keeps it open from its identification to its last read-back, so
// that what is written goes to the drive identified in the same open; the mutex is held for as
// long, so that no other program of the utility sends it a command in between. Every command
// goes through the observer, which traces it on request and keeps why the latest operation failed.
#pragma once

#include <cstdint>
#include <memory>

#include "cli/command_observer.h"
#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "settings/settings_page.h"

// How long a run waits for another program of the utility to let go of the drives.
constexpr uint32_t kDriveAccessWaitMs = 10000;

class DriveSession {
public:
    DriveSession(ScsiTransport& transport, CommandObserver& observer,
                 std::unique_ptr<DriveAccessMutex> mutex);
    ~DriveSession();
    DriveSession(const DriveSession&) = delete;
    DriveSession& operator=(const DriveSession&) = delete;

    // False when the buffers or the mutex could not be had: no command can be sent.
    bool CanSend() const { return mutex_ != nullptr && state_.buffers.IsAllocated(); }

    // Takes the mutex (waiting at most kDriveAccessWaitMs), opens the device and asks it for its
    // model identification and INQUIRY text (drive/drive_discovery.h). The device stays open and
    // the mutex held until Close, whatever the answer. kNotOpened: see OpenError, or
    // WaitedInVain when another program held the mutex throughout.
    ProbeOutcome OpenAndIdentify(const DriveCandidate& candidate, DriveEntry* entry);
    int OpenError() const { return state_.openError; }
    bool WaitedInVain() const { return waitedInVain_; }
    // Closes the device and lets go of the mutex.
    void Close();

    // The settings page of the open drive; false when it cannot be read.
    bool ReadPage(SettingsPage* page);
    // One read of the ready byte: true when the audio mode may be changed now.
    bool AudioModeChangeable();

    // Starts afresh before an operation whose failure is to be told, and tells it.
    void ForgetFailures() { observer_.ForgetFailures(); }
    bool RefusedForRights() const { return observer_.RefusedForRights(); }
    CommandFailure LastFailure() const;
    const CommandObserver& Observer() const { return observer_; }

    DriveState& State() { return state_; }
    DriveAccessMutex& Mutex() { return *mutex_; }
    CommandRunner& Runner() { return *runner_; }

private:
    CommandObserver& observer_;
    DriveState state_;
    std::unique_ptr<DriveAccessMutex> mutex_;
    std::unique_ptr<CommandRunner> runner_;
    bool held_ = false;  // the mutex, from OpenAndIdentify to Close
    bool waitedInVain_ = false;
};
