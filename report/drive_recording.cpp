#include "report/drive_recording.h"

#include <cstring>

#include "drive/drive_handle.h"
#include "drive/media_watcher.h"
#include "settings/settings_page.h"

const char kStepIdentification[] = "identification";
const char kStepInquiry[] = "inquiry";
const char kStepSettingsPage[] = "settings_page";
const char kStepReadyByte[] = "ready_byte";
const char kStepDiscPresenceProbe[] = "disc_presence_probe";

namespace {

constexpr int32_t kInquiryTimeoutSeconds = 2;  // as discovery asks
constexpr size_t kInquiryReplyLength = 254;

// The drive access held for one session.
class HeldAccess {
public:
    explicit HeldAccess(DriveAccessMutex& mutex)
        : mutex_(mutex), held_(mutex.LockWithin(kRecordingAccessWaitMs)) {}
    ~HeldAccess() {
        if (held_) {
            mutex_.Unlock();
        }
    }
    HeldAccess(const HeldAccess&) = delete;
    HeldAccess& operator=(const HeldAccess&) = delete;
    bool Held() const { return held_; }

private:
    DriveAccessMutex& mutex_;
    bool held_;
};

// The INQUIRY a device that is no supported drive did not get from discovery: it names the
// drive behind an adapter that does not pass the maker's commands.
void SendInquiry(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex) {
    DriveLock lock(mutex);
    std::memset(state.buffers.DataInBuffer(), 0, kInquiryReplyLength);
    state.block.code = kCodeInquiryFull;
    state.block.timeout = kInquiryTimeoutSeconds;
    runner.Run(lock);
}

// The settings page, one ready-byte poll and the disc-presence probe of a supported drive.
void RecordSupportedDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                          CommandRecorder& recorder, DriveRecording& recording) {
    recorder.BeginStep(kStepSettingsPage);
    {
        DriveLock lock(mutex);
        SettingsPage page;
        recording.settingsRead = ReadSettingsPage(state, runner, lock, &page) == 1;
    }
    recorder.BeginStep(kStepReadyByte);
    recording.audioModeChangeable = PollReadyByte(state, mutex);
    recorder.BeginStep(kStepDiscPresenceProbe);
    recording.discPresent = runner.ProbeDiscPresence();
}

void RecordOpenDrive(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                     CommandRecorder& recorder, const NarrowCodePage& codePage, bool inquire,
                     DriveRecording& recording) {
    DriveEntry entry;
    recording.probe = IdentifyOpenDrive(state, runner, mutex, recording.device, codePage, &entry);
    if (recording.probe != ProbeOutcome::kSupported) {
        if (recording.device.opticalDrive) {
            recording.identification = ModelReadProblem(state);
            recording.modelReplyBytes = state.block.transport.bytesTransferred;
        }
        if (inquire) {
            recorder.BeginStep(kStepInquiry);
            SendInquiry(state, runner, mutex);
        }
        return;
    }
    recording.model = entry.model;
    recording.inquiryText = entry.listText.substr(recording.device.name.size() + 1);
    RecordSupportedDrive(state, runner, mutex, recorder, recording);
}

}  // namespace

DriveRecording RecordDriveSession(DriveState& state, CommandRunner& runner, DriveAccessMutex& mutex,
                                  CommandRecorder& recorder, const DriveCandidate& candidate,
                                  const NarrowCodePage& codePage, bool inquire) {
    DriveRecording recording;
    recording.device = candidate;
    recorder.TakeCommands();  // none of an earlier session's
    const HeldAccess access(mutex);
    if (!access.Held()) {
        recording.busy = true;
        return recording;
    }
    recorder.BeginStep(kStepIdentification);
    recording.opened = OpenDrive(state, candidate.devicePath) != kNoDevice;
    recording.openError = state.openError;
    if (recording.opened) {
        RecordOpenDrive(state, runner, mutex, recorder, codePage, inquire, recording);
        CloseDrive(state.transport, state.driveHandle);
    }
    recording.commands = recorder.TakeCommands();
    return recording;
}
