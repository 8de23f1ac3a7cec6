// The drive access of one run of velmora-drive: the drive state with its transfer buffers, the
// drive-access mutex and the calling protocol, over the transport the run was given. The run has
// one drive open at a time. Every command goes through the observer, which traces it on request
// and keeps why the latest operation failed.
#pragma once

#include <memory>

#include "cli/command_observer.h"
#include "drive/command_runner.h"
#include "drive/drive_discovery.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "settings/settings_page.h"

class DriveSession {
public:
    DriveSession(ScsiTransport& transport, CommandObserver& observer);
    ~DriveSession();
    DriveSession(const DriveSession&) = delete;
    DriveSession& operator=(const DriveSession&) = delete;

    // False when the buffers or the mutex could not be had: no command can be sent.
    bool CanSend() const { return mutex_ != nullptr && state_.buffers.IsAllocated(); }

    // Asks the device for its model identification and INQUIRY text (drive/drive_discovery.h);
    // the device is closed again afterwards.
    ProbeOutcome Probe(const DriveCandidate& candidate, DriveEntry* entry);
    int OpenError() const { return state_.openError; }

    // Opens the device as the run's drive; false with OpenError() when the system refuses.
    bool Open(const DriveCandidate& candidate);
    void Close();

    // The settings page of the open drive; false when it cannot be read.
    bool ReadPage(SettingsPage* page);
    // One read of the ready byte: true when the audio mode may be changed now.
    bool AudioModeChangeable();

    // Starts afresh before an operation whose failure is to be told, and tells it.
    void ForgetFailures() { observer_.ForgetFailures(); }
    bool RefusedForRights() const { return observer_.RefusedForRights(); }
    CommandFailure LastFailure() const;

    DriveState& State() { return state_; }
    DriveAccessMutex& Mutex() { return *mutex_; }
    CommandRunner& Runner() { return *runner_; }

private:
    CommandObserver& observer_;
    DriveState state_;
    std::unique_ptr<DriveAccessMutex> mutex_;
    std::unique_ptr<CommandRunner> runner_;
};
