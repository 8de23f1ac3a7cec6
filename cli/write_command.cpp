#include "cli/write_command.h"

#include <functional>
#include <memory>

#include "cli/cli_front_end.h"
#include "cli/device_argument.h"
#include "cli/drive_finder.h"
#include "res/resource_ids.h"
#include "settings/apply_settings.h"
#include "settings/write_pages.h"

namespace {

bool IsRestore(const CommandContext& context) {
    return context.request.command == CliCommand::kRestore;
}

// A setting the drive lacks is refused before anything is sent; restore asks only for those the
// drive has, and fails only when it has neither.
bool RequestFitsDrive(CommandContext& context, const DeviceReport& device) {
    const bool restore = IsRestore(context);
    const bool speedAsked = restore || context.request.optimalSpeed.requested;
    const bool audioAsked = restore || context.request.audioMode.requested;
    const bool speedMissing = speedAsked && !device.optimalSpeed.supported;
    const bool audioMissing = audioAsked && !device.audioMode.supported;
    if (restore && !(speedMissing && audioMissing)) {
        return true;
    }
    if (speedMissing) {
        context.report.Note(
            Finding{FindingKind::kSettingMissing, device.device.name, IDS_SPEED_LABEL});
    }
    if (audioMissing) {
        context.report.Note(
            Finding{FindingKind::kSettingMissing, device.device.name, IDS_AUDIO_LABEL});
    }
    return !speedMissing && !audioMissing;
}

// The setting's write as the settings code ended it; the observer adds whether the drive itself
// refused every attempt (pageKind: byte 0 of the setting's write page).
SettingWriteReport WriteReportOf(const CommandContext& context, const SettingChoice& choice,
                                 SettingOutcome outcome, int writes, uint8_t pageKind) {
    SettingWriteReport write;
    write.requested = choice.requested;
    write.value = choice.value;
    write.save = choice.save == 1;
    write.outcome = outcome;
    write.writes = writes;
    const CommandObserver& observer = context.session.Observer();
    write.driveRefusedEvery = writes > 0 && observer.DriveRefusedWrites(pageKind) == writes;
    write.driveRefusal = observer.DriveRefusal(pageKind);
    return write;
}

int AudioWrites(SettingOutcome outcome) {
    return outcome == SettingOutcome::kConfirmed || outcome == SettingOutcome::kNotConfirmed ? 1
                                                                                             : 0;
}

// The apply holds the drive's lock and exclusive claim (taken in the settings code) from its
// disc probe to its last read-back, as the window's does.
ApplyResult Apply(CommandContext& context, CliFrontEnd& frontEnd, const DeviceReport& device,
                  const AudioReadiness& readiness, DriveWriteAccess* access) {
    SupportedSettings supported{device.optimalSpeed.supported ? 1 : 0,
                                device.audioMode.supported ? 1 : 0};
    ApplyFlags flags;
    SettingsContext settings{context.session.State(),
                             context.session.Mutex(),
                             context.session.Runner(),
                             frontEnd,
                             supported,
                             flags,
                             readiness,
                             access};
    return IsRestore(context) ? RestoreFactoryDefault(settings) : ApplySettings(settings);
}

// How the write went, as the settings code and the drive's answers tell it.
void RecordWrite(CommandContext& context, const CliFrontEnd& frontEnd, const ApplyResult& result) {
    WriteReport& write = context.report.write;
    context.report.wrote = true;
    write.restore = IsRestore(context);
    write.dryRun = context.dryRun != nullptr;
    write.discStop = result.discStop;
    write.stoppedEarly = result.stoppedEarly;
    write.access = result.access;
    write.accessNode = context.report.devices.front().device.blockNode;
    write.driveGone = result.driveGone;
    if (result.discStop == DiscStopOutcome::kFailed) {
        write.stopFailure = context.session.LastFailure();
    }
    write.optimalSpeed =
        WriteReportOf(context, frontEnd.OptimalSpeedChoice(), result.optimalSpeed,
                      result.speedWrites, OptimalSpeedWritePage(SettingChoice{}).kind);
    write.audioMode =
        WriteReportOf(context, frontEnd.AudioModeChoice(), result.audioMode,
                      AudioWrites(result.audioMode), AudioModeWritePage(SettingChoice{}).kind);
    write.alerts = frontEnd.Alerts();
    write.statusLines = frontEnd.StatusLines();
    if (context.session.RefusedForRights()) {
        write.rightsRefusal = context.session.LastFailure();
    }
    if (context.dryRun != nullptr) {
        write.withheld = context.dryRun->Withheld();
        context.dryRun->StopPretending();
    }
    context.report.Note(Finding{FindingKind::kWrite, context.report.devices.front().device.name});
}

// The lock our programs share on the drive DEVICE names, taken before the first command is sent
// to it, so that another writer's commands never come between this run's identification, apply
// and read-backs (the apply takes it again, at once, and adds the exclusive claim). Null when
// there is nothing to take; false, with the refusal noted, when another writer kept it.
bool LockNamedDrive(CommandContext& context, std::unique_ptr<DriveWriteAccess>* access) {
    const DriveCandidate* candidate =
        FindDeviceCandidate(context.candidates, context.request.device);
    if (context.claims == nullptr || candidate == nullptr) {
        return true;  // nothing to lock; finding the drive will say what DEVICE names
    }
    *access = std::make_unique<DriveWriteAccess>(*context.claims, *candidate);
    WriteReport& write = context.report.write;
    write.access = (*access)->Lock();
    if (write.access.outcome == WriteAccessOutcome::kGranted) {
        return true;
    }
    write.accessNode = candidate->blockNode;
    context.report.Note(Finding{FindingKind::kWriteAccessRefused, candidate->name});
    return false;
}

}  // namespace

// The drive is written in the open it was identified in, and read back in it too.
void RunWriteCommand(CommandContext& context) {
    std::unique_ptr<DriveWriteAccess> access;
    if (!LockNamedDrive(context, &access) || !FindTargetDrive(context) ||
        !ReadDeviceSettings(context, context.report.devices.front())) {
        return;
    }
    DeviceReport& device = context.report.devices.front();
    if (!RequestFitsDrive(context, device)) {
        return;
    }
    // Read once, within the apply, as the window's watcher would have read it last.
    const bool audioWritten =
        device.audioMode.supported && (IsRestore(context) || context.request.audioMode.requested);
    DriveSession& session = context.session;
    const PolledReadiness readiness(
        audioWritten ? std::function<bool()>([&session] { return session.AudioModeChangeable(); })
                     : nullptr);

    CliFrontEnd frontEnd(context.request.optimalSpeed, context.request.audioMode, device.device,
                         context.dryRun != nullptr, context.interruptRequested);
    if (context.dryRun != nullptr && device.device.throughBlockNode && !context.rawIoAllowed) {
        context.dryRun->RefuseWritesForWantOfRights();
    }
    context.session.ForgetFailures();
    const ApplyResult result = Apply(context, frontEnd, device, readiness, access.get());
    RecordWrite(context, frontEnd, result);
    if (!result.driveGone) {
        ReadDeviceSettings(context, device);  // what the drive holds now
    } else {
        device.settingsStale = device.settingsRead;  // a drive that has gone holds nothing now
    }
    context.session.Close();
}
