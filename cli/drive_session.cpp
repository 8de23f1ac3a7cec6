#include "cli/drive_session.h"

#include "drive/drive_handle.h"
#include "drive/media_watcher.h"
#include "platform/process_code_page.h"

DriveSession::DriveSession(ScsiTransport& transport, CommandObserver& observer,
                           std::unique_ptr<DriveAccessMutex> mutex)
    : observer_(observer), state_(transport), mutex_(std::move(mutex)) {
    state_.trace = &observer;
    state_.transportMode = kTransportModePassThrough;
    // A drive the system says has gone answers nothing more: the first such failure ends the
    // operation rather than six writes and their read-backs into nothing.
    state_.endOnGoneDrive = true;
    state_.modelReadTimeoutSeconds = kPatientModelReadTimeoutSeconds;
    AllocateTransferBuffers(state_.buffers);
    if (mutex_ != nullptr) {
        runner_ = std::make_unique<CommandRunner>(state_, *mutex_, nullptr);
    }
}

DriveSession::~DriveSession() {
    Close();
}

ProbeOutcome DriveSession::OpenAndIdentify(const DriveCandidate& candidate, DriveEntry* entry) {
    Close();
    state_.openError = 0;
    waitedInVain_ = !mutex_->LockWithin(kDriveAccessWaitMs);
    if (waitedInVain_) {
        return ProbeOutcome::kNotOpened;
    }
    held_ = true;
    if (OpenDrive(state_, candidate.devicePath) == kNoDevice) {
        return ProbeOutcome::kNotOpened;
    }
    return IdentifyOpenDrive(state_, *runner_, *mutex_, candidate, ProcessNarrowCodePage(), entry);
}

void DriveSession::Close() {
    CloseDrive(state_.transport, state_.driveHandle);
    if (held_) {
        held_ = false;
        mutex_->Unlock();
    }
}

bool DriveSession::ReadPage(SettingsPage* page) {
    DriveLock lock(*mutex_);
    return ReadSettingsPage(state_, *runner_, lock, page) == 1;
}

bool DriveSession::AudioModeChangeable() {
    return PollReadyByte(state_, *mutex_) == 1;
}

CommandFailure DriveSession::LastFailure() const {
    return observer_.Failure(state_.block.status == kCommandCompleted);
}
