#include "cli/drive_session.h"

#include "drive/drive_handle.h"
#include "drive/media_watcher.h"
#include "platform/process_code_page.h"

// The mutex has no name: a run waits for no other program. Two programs that use the same drive
// at once each send whole commands, which the drive answers one after the other.
DriveSession::DriveSession(ScsiTransport& transport, CommandObserver& observer)
    : observer_(observer), state_(transport), mutex_(CreateDriveAccessMutex(nullptr)) {
    state_.trace = &observer;
    state_.transportMode = kTransportModePassThrough;
    AllocateTransferBuffers(state_.buffers);
    if (mutex_ != nullptr) {
        runner_ = std::make_unique<CommandRunner>(state_, *mutex_, nullptr);
    }
}

DriveSession::~DriveSession() {
    Close();
}

ProbeOutcome DriveSession::Probe(const DriveCandidate& candidate, DriveEntry* entry) {
    return ProbeDrive(state_, *runner_, *mutex_, candidate, ProcessNarrowCodePage(), entry);
}

bool DriveSession::Open(const DriveCandidate& candidate) {
    Close();
    return OpenDrive(state_, candidate.devicePath) != kNoDevice;
}

void DriveSession::Close() {
    CloseDrive(state_.transport, state_.driveHandle);
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
