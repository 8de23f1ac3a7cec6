#include "settings/apply_settings.h"

#include "drive/drive_gone.h"
#include "drive/permission_refusal.h"
#include "drive/sense_class.h"
#include "res/resource_ids.h"
#include "settings/settings_page.h"
#include "settings/settings_verification.h"
#include "settings/write_pages.h"

namespace {

// Verification failures tolerated before the sixth and last write of Optimal Writing Speed.
constexpr int kLastSpeedRetry = 5;

// What one run of ApplySettings has found so far.
struct ApplyRun {
    int retryCounter = 0;           // failed Optimal Writing Speed verifications, up to 5
    int audioResult = 1;            // 0 after either audio failure
    int confirmedWrites = 0;        // settings the drive has confirmed in this run
    bool stoppedOnRefusal = false;  // the front end ended the run over a refused write
    ApplyResult result;
};

// Whether a value is to be saved; the choice of a setting the drive lacks counts too.
bool SaveAsked(const SettingsFrontEnd& frontEnd) {
    return frontEnd.OptimalSpeedChoice().save == 1 || frontEnd.AudioModeChoice().save == 1;
}

// Whether the front end ends the apply before the next command that changes the drive.
bool StopsHere(SettingsContext& context, ApplyRun& run) {
    if (!context.frontEnd.StopBeforeNextWrite()) {
        return false;
    }
    run.result.stoppedEarly = true;
    return true;
}

// Whether the apply may send a command that changes the drive: the stop before saving, or a
// write of either setting.
bool MayChangeDrive(const SettingsContext& context) {
    const SettingsFrontEnd& frontEnd = context.frontEnd;
    const bool speedWrite =
        context.supported.optimalSpeed == 1 && frontEnd.OptimalSpeedChoice().requested;
    const bool audioWrite = context.supported.audioMode == 1 &&
                            frontEnd.AudioModeChoice().requested &&
                            context.readiness.IsReady() == 1;
    return SaveAsked(frontEnd) || speedWrite || audioWrite;
}

// The drive to ourselves: the lock before anything is sent, the claim before anything that can
// change it (taken before the probe, so that a refused claim leaves the drive untouched).
bool TakeWriteAccess(SettingsContext& context, ApplyRun& run) {
    DriveWriteAccess* access = context.writeAccess;
    if (access == nullptr) {
        return true;
    }
    run.result.access = access->Lock();
    if (run.result.access.outcome == WriteAccessOutcome::kGranted && MayChangeDrive(context)) {
        run.result.access = access->Claim();
    }
    return run.result.access.outcome == WriteAccessOutcome::kGranted;
}

// Gives the drive back after the last read-back, whatever ended the apply.
class HeldWriteAccess {
public:
    explicit HeldWriteAccess(DriveWriteAccess* access) : access_(access) {}
    ~HeldWriteAccess() {
        if (access_ != nullptr) {
            access_->Release();
        }
    }
    HeldWriteAccess(const HeldWriteAccess&) = delete;
    HeldWriteAccess& operator=(const HeldWriteAccess&) = delete;

private:
    DriveWriteAccess* access_;
};

// The last command found the drive gone, and that ends the apply here.
bool EndedByGoneDrive(SettingsContext& context, ApplyRun& run) {
    if (context.drive.endOnGoneDrive && ReportsDriveGone(context.drive.block.transport)) {
        run.result.driveGone = true;
    }
    return run.result.driveGone;
}

// A disc still being set up asks the user to wait and press the same button again.
int LineForFailedStop(SenseClass sense, int restoreInProgress) {
    if (sense != kSenseClassBecomingReady) {
        return IDS_UNEXPECTED_ERROR;
    }
    return restoreInProgress == 1 ? IDS_SETTING_UP_RESTORE : IDS_SETTING_UP_APPLY;
}

// A value is saved in the drive only with its disc at rest: a disc in the drive is stopped (not
// ejected) first. Returns false when the stop failed; the reason is then queued and nothing may
// be written.
bool StopDiscBeforeSaving(SettingsContext& context, const DriveLock& held, ApplyRun& run) {
    const int discPresent = context.runner.ProbeDiscPresence();
    if (EndedByGoneDrive(context, run)) {
        return false;
    }
    if (discPresent != 1 || !SaveAsked(context.frontEnd)) {
        return true;
    }
    if (StopsHere(context, run)) {
        return false;
    }
    CommandBlock& block = context.drive.block;
    block.code = kCodeStartStopUnit;
    block.timeout = kSettingsTimeoutSeconds;
    block.transferLength = 0;
    block.immediate = 0;
    block.powerCondition = 0;
    block.loadEject = 0;
    block.start = 0;
    if (context.runner.Run(held) == kCommandCompleted) {
        run.result.discStop = DiscStopOutcome::kStopped;
        return true;
    }
    if (EndedByGoneDrive(context, run)) {
        run.result.discStop = DiscStopOutcome::kFailed;
        return false;
    }
    const SenseClass sense = ClassifyLastSense(context.drive);
    run.result.discStop = sense == kSenseClassBecomingReady ? DiscStopOutcome::kBecomingReady
                                                            : DiscStopOutcome::kFailed;
    context.frontEnd.LogClear();
    context.frontEnd.LogAppend(LineForFailedStop(sense, context.apply.restoreInProgress));
    return false;
}

// Sends the page and returns how the system's call for it ended.
TransportResult SendPage(SettingsContext& context, const DriveLock& held, const WritePage& page) {
    SendWritePage(context.drive, context.runner, held, page);
    return context.drive.block.transport;
}

// A write the system did not pass on for want of rights (the kernel's command filter on a block
// node, a device without write access): nothing reached the drive. The front end decides whether
// that ends the run; its alert is then shown once and nothing more is written.
bool StopsOnRefusal(SettingsContext& context, const TransportResult& write, ApplyRun& run) {
    if (!RefusedForWantOfRights(write)) {
        return false;
    }
    const int alert = context.frontEnd.OnWriteRefused(write.osError);
    if (alert == kGoOnAsBefore) {
        return false;
    }
    run.stoppedOnRefusal = true;
    context.frontEnd.Alert(alert);
    return true;
}

// Each attempt reads the choice afresh; only the read-back counts, not the write's status.
void WriteOptimalSpeed(SettingsContext& context, const DriveLock& held, ApplyRun& run) {
    while (!StopsHere(context, run)) {
        const WritePage page = OptimalSpeedWritePage(context.frontEnd.OptimalSpeedChoice());
        const TransportResult write = SendPage(context, held, page);
        ++run.result.speedWrites;
        if (EndedByGoneDrive(context, run)) {
            run.result.optimalSpeed = SettingOutcome::kNotConfirmed;
            return;
        }
        if (VerifyOptimalWriteSpeed(context, page.value, page.save) == 1) {
            ++run.confirmedWrites;
            run.result.optimalSpeed = SettingOutcome::kConfirmed;
            return;
        }
        if (EndedByGoneDrive(context, run)) {
            run.result.optimalSpeed = SettingOutcome::kNotConfirmed;
            return;
        }
        if (StopsOnRefusal(context, write, run)) {
            run.result.optimalSpeed = SettingOutcome::kRefused;
            return;
        }
        if (run.retryCounter >= kLastSpeedRetry) {
            run.result.optimalSpeed = SettingOutcome::kNotConfirmed;
            context.frontEnd.Alert(IDS_SPEED_SET_FAILED);
            return;
        }
        ++run.retryCounter;
    }
    if (run.result.speedWrites > 0) {
        run.result.optimalSpeed = SettingOutcome::kNotConfirmed;  // stopped before a retry
    }
}

// The drive refuses an audio mode change while it is not ready for it (a disc is in): the user
// is asked to take the disc out, whether or not this drive has the audio mode.
void WriteAudioMode(SettingsContext& context, const DriveLock& held, ApplyRun& run) {
    if (StopsHere(context, run)) {
        return;
    }
    if (context.readiness.IsReady() != 1) {
        run.audioResult = 0;
        run.result.audioMode = SettingOutcome::kNotReady;
        context.frontEnd.Alert(IDS_AUDIO_SET_FAILED);
        return;
    }
    if (context.supported.audioMode != 1) {
        return;
    }
    const WritePage page = AudioModeWritePage(context.frontEnd.AudioModeChoice());
    const TransportResult write = SendPage(context, held, page);
    const bool confirmed =
        !EndedByGoneDrive(context, run) && VerifyAudioMode(context, page.value, page.save) == 1;
    if (EndedByGoneDrive(context, run)) {
        run.audioResult = 0;
        run.result.audioMode = SettingOutcome::kNotConfirmed;
    } else if (confirmed) {
        run.audioResult = 1;
        ++run.confirmedWrites;
        run.result.audioMode = SettingOutcome::kConfirmed;
    } else if (StopsOnRefusal(context, write, run)) {
        run.audioResult = 0;
        run.result.audioMode = SettingOutcome::kRefused;
    } else {
        context.frontEnd.LogAppend(IDS_AUDIO_SET_FAILED);
        run.audioResult = 0;
        run.result.audioMode = SettingOutcome::kNotConfirmed;
    }
}

// "complete" stands for values the drive has confirmed. A run that wrote nothing (no setting
// supported, or the supported flags lost to a failed settings read) has confirmed nothing, so
// the status of whatever probe command came last cannot make it a success.
void DecideOutcome(SettingsContext& context, ApplyRun& run) {
    if (run.retryCounter >= kLastSpeedRetry || run.audioResult == 0 || run.stoppedOnRefusal ||
        run.result.stoppedEarly || run.result.driveGone) {
        return;
    }
    if (run.confirmedWrites == 0 || context.drive.block.status != kCommandCompleted) {
        return;
    }
    context.frontEnd.LogClear();
    context.frontEnd.LogAppend(IDS_COMPLETE);
    context.apply.applySucceeded = 1;
    run.result.succeeded = true;
}

}  // namespace

ApplyResult ApplySettings(SettingsContext& context) {
    ApplyRun run;
    DriveLock lock(context.mutex);
    context.apply.applySucceeded = 0;
    context.frontEnd.ClearShownStatus();
    const HeldWriteAccess held(context.writeAccess);
    if (!TakeWriteAccess(context, run) || !StopDiscBeforeSaving(context, lock, run)) {
        return run.result;
    }
    if (context.supported.optimalSpeed == 1 && context.frontEnd.OptimalSpeedChoice().requested) {
        WriteOptimalSpeed(context, lock, run);
    }
    if (context.frontEnd.AudioModeChoice().requested && !run.stoppedOnRefusal &&
        !run.result.stoppedEarly && !run.result.driveGone) {
        WriteAudioMode(context, lock, run);
    }
    DecideOutcome(context, run);
    return run.result;
}

ApplyResult RestoreFactoryDefault(SettingsContext& context) {
    context.frontEnd.ChooseFactoryValues(context.supported);
    context.apply.restoreInProgress = 1;
    const ApplyResult result = ApplySettings(context);
    context.apply.restoreInProgress = 0;
    if (context.apply.applySucceeded == 1) {
        context.frontEnd.LogClear();
        context.frontEnd.LogAppend(IDS_DEFAULT_SETTING);
    }
    return result;
}
