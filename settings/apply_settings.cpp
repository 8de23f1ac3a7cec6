#include "settings/apply_settings.h"

#include "drive/sense_class.h"
#include "res/resource_ids.h"
#include "settings/control_state.h"
#include "settings/settings_page.h"
#include "settings/settings_verification.h"
#include "settings/write_pages.h"

namespace {

// Verification failures tolerated before the sixth and last write of Optimal Writing Speed.
constexpr int kLastSpeedRetry = 5;

// What one run of ApplySettings has found so far.
struct ApplyRun {
    int retryCounter = 0;     // failed Optimal Writing Speed verifications, up to 5
    int audioResult = 1;      // 0 after either audio failure
    int confirmedWrites = 0;  // settings the drive has confirmed in this run
};

void ShowMessage(SettingsContext& context, int stringId) {
    context.controls.ShowMessageBox(context.controls.LoadText(stringId));
}

bool SaveAsked(const DialogControls& controls) {
    return controls.GetCheck(IDC_SAVE_SPEED) == 1 || controls.GetCheck(IDC_SAVE_AUDIO) == 1;
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
bool StopDiscBeforeSaving(SettingsContext& context, const DriveLock& held) {
    if (context.runner.ProbeDiscPresence() != 1 || !SaveAsked(context.controls)) {
        return true;
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
        return true;
    }
    const SenseClass sense = ClassifyLastSense(context.drive);
    context.log.LogClear();
    context.log.LogAppend(LineForFailedStop(sense, context.apply.restoreInProgress));
    return false;
}

// Each attempt reads the controls afresh; only the read-back counts, not the write's status.
void WriteOptimalSpeed(SettingsContext& context, const DriveLock& held, ApplyRun& run) {
    for (;;) {
        const WritePage page = OptimalSpeedWritePage(context.controls);
        SendWritePage(context.drive, context.runner, held, page);
        if (VerifyOptimalWriteSpeed(context, page.value, page.save) == 1) {
            ++run.confirmedWrites;
            return;
        }
        if (run.retryCounter >= kLastSpeedRetry) {
            ShowMessage(context, IDS_SPEED_SET_FAILED);
            return;
        }
        ++run.retryCounter;
    }
}

// The drive refuses an audio mode change while it is not ready for it (a disc is in): the user
// is asked to take the disc out, whether or not this drive has the audio mode.
void WriteAudioMode(SettingsContext& context, const DriveLock& held, ApplyRun& run) {
    if (context.readiness.IsReady() != 1) {
        run.audioResult = 0;
        ShowMessage(context, IDS_AUDIO_SET_FAILED);
        return;
    }
    if (context.supported.audioMode != 1) {
        return;
    }
    const WritePage page = AudioModeWritePage(context.controls);
    SendWritePage(context.drive, context.runner, held, page);
    if (VerifyAudioMode(context, page.value, page.save) == 1) {
        run.audioResult = 1;
        ++run.confirmedWrites;
    } else {
        context.log.LogAppend(IDS_AUDIO_SET_FAILED);
        run.audioResult = 0;
    }
}

// "complete" stands for values the drive has confirmed. A run that wrote nothing (no setting
// supported, or the supported flags lost to a failed settings read) has confirmed nothing, so
// the status of whatever probe command came last cannot make it a success.
void DecideOutcome(SettingsContext& context, const ApplyRun& run) {
    if (run.retryCounter >= kLastSpeedRetry || run.audioResult == 0) {
        return;
    }
    if (run.confirmedWrites == 0 || context.drive.block.status != kCommandCompleted) {
        return;
    }
    context.log.LogClear();
    context.log.LogAppend(IDS_COMPLETE);
    context.apply.applySucceeded = 1;
}

}  // namespace

void ApplySettings(SettingsContext& context) {
    ApplyRun run;
    DriveLock lock(context.mutex);
    context.apply.applySucceeded = 0;
    context.controls.SetControlText(IDC_LOG_EDIT, "");
    if (!StopDiscBeforeSaving(context, lock)) {
        return;
    }
    if (context.supported.optimalSpeed == 1) {
        WriteOptimalSpeed(context, lock, run);
    }
    WriteAudioMode(context, lock, run);
    DecideOutcome(context, run);
}

void RestoreFactoryDefault(SettingsContext& context) {
    DialogControls& controls = context.controls;
    if (context.supported.optimalSpeed == 1) {
        controls.SetCheck(IDC_SPEED_ON, 0);
        controls.SetCheck(IDC_SPEED_OFF, 1);
        controls.SetCheck(IDC_SAVE_SPEED, 1);
    }
    if (context.supported.audioMode == 1) {
        controls.SetCheck(IDC_AUDIO_HIGH, 1);
        controls.SetCheck(IDC_AUDIO_LOW, 0);
        controls.SetCheck(IDC_SAVE_AUDIO, 1);
        // The description must not contradict the button now checked.
        ShowAudioModeDescription(controls, AudioMode::kHighSpeedPlayback);
    }
    context.apply.restoreInProgress = 1;
    ApplySettings(context);
    context.apply.restoreInProgress = 0;
    if (context.apply.applySucceeded == 1) {
        context.log.LogClear();
        context.log.LogAppend(IDS_DEFAULT_SETTING);
    }
}
