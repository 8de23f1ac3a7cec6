// Writing the user's choice of settings into the selected drive (Apply), and writing the factory
// values (Restore Factory Default). Every write is proved by reading the settings page back; the
// outcome reaches the user as status lines and, for two failures, alerts, and comes back to the
// caller as a result.
#pragma once

#include "settings/drive_write_access.h"
#include "settings/settings_context.h"

enum class DiscStopOutcome {
    kNotNeeded,      // no disc, or nothing to be saved
    kStopped,        // a disc was in and was stopped before saving
    kBecomingReady,  // the stop failed: the disc is still being set up
    kFailed,         // the stop failed for another reason
};

enum class SettingOutcome {
    kNotWritten,    // not asked for, the drive lacks it, or the apply ended before it
    kConfirmed,     // the read-back showed the value (and the saved value when saving was asked)
    kNotConfirmed,  // no read-back confirmed it
    kNotReady,      // the drive does not allow the change now (audio mode with a disc in)
    kRefused,       // the system refused the write for want of rights; the front end stopped
};

struct ApplyResult {
    DiscStopOutcome discStop = DiscStopOutcome::kNotNeeded;
    SettingOutcome optimalSpeed = SettingOutcome::kNotWritten;
    SettingOutcome audioMode = SettingOutcome::kNotWritten;
    int speedWrites = 0;        // WRITE BUFFER attempts for Optimal Writing Speed
    bool succeeded = false;     // "complete" was queued (the apply-succeeded flag)
    bool stoppedEarly = false;  // the front end stopped it before a write (StopBeforeNextWrite)
    // Not kGranted: the drive could not be had to ourselves, and nothing was sent.
    WriteAccess access;
    // The system said the drive is no longer there (with drive.endOnGoneDrive): the apply ended
    // at that command, without the usual alerts.
    bool driveGone = false;
};

// Holds the DriveAccessMutex throughout, alerts included. Empties the shown status. With a
// writeAccess in the context it first takes the drive's lock (waiting a bounded time) and, when
// anything may be written or the disc stopped, the exclusive claim, holding both to the last
// read-back; when either cannot be had nothing is sent and the result says why (access). When a
// disc is in and a value is to be saved, it stops the disc first (a failure there ends the apply
// with one status line). Writes Optimal Writing Speed, if supported and requested, up to six times
// until the drive confirms it (alert "Cannot setting optimized write speed" after the sixth
// failure); then, if requested, Audio Optimized Write Mode once if supported, unless the drive does
// not allow the change now (alert). A write the system refuses for want of rights is still followed
// by its read-back; when that does not confirm it, the front end decides (OnWriteRefused): its
// alert ends the apply, with no retry and no further write. Queues "complete" and sets the
// apply-succeeded flag only when at least one setting was written and every setting written was
// confirmed (Optimal Writing Speed before its sixth attempt). With drive.endOnGoneDrive, the first
// command the system fails because the drive is gone ends the apply (driveGone), with no retry or
// alert. Before the stop and before every write or retry the front end may end the apply
// (StopBeforeNextWrite): nothing more is sent, no alert is shown, and the result says which
// settings were confirmed.
ApplyResult ApplySettings(SettingsContext& context);

// Makes the factory values (OFF, high speed playback, both saved) the choice for the supported
// settings and applies them; a successful apply then shows "default setting" instead of
// "complete".
ApplyResult RestoreFactoryDefault(SettingsContext& context);
