#include "cli/write_command.h"

#include "cli/cli_front_end.h"
#include "cli/drive_finder.h"
#include "res/resource_ids.h"
#include "settings/apply_settings.h"

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

SettingWriteReport WriteReportOf(const SettingChoice& choice, SettingOutcome outcome, int writes) {
    return SettingWriteReport{choice.requested, choice.value, choice.save == 1, outcome, writes};
}

int AudioWrites(SettingOutcome outcome) {
    return outcome == SettingOutcome::kConfirmed || outcome == SettingOutcome::kNotConfirmed ? 1
                                                                                             : 0;
}

ApplyResult Apply(CommandContext& context, CliFrontEnd& frontEnd, const DeviceReport& device,
                  const AudioReadiness& readiness) {
    SupportedSettings supported{device.optimalSpeed.supported ? 1 : 0,
                                device.audioMode.supported ? 1 : 0};
    ApplyFlags flags;
    SettingsContext settings{context.session.State(),
                             context.session.Mutex(),
                             context.session.Runner(),
                             frontEnd,
                             supported,
                             flags,
                             readiness};
    return IsRestore(context) ? RestoreFactoryDefault(settings) : ApplySettings(settings);
}

// How the write went, as the settings code and the drive's answers tell it.
void RecordWrite(CommandContext& context, const CliFrontEnd& frontEnd, const ApplyResult& result) {
    WriteReport& write = context.report.write;
    context.report.wrote = true;
    write.restore = IsRestore(context);
    write.dryRun = context.dryRun != nullptr;
    write.discStop = result.discStop;
    if (result.discStop == DiscStopOutcome::kFailed) {
        write.stopFailure = context.session.LastFailure();
    }
    write.optimalSpeed =
        WriteReportOf(frontEnd.OptimalSpeedChoice(), result.optimalSpeed, result.speedWrites);
    write.audioMode =
        WriteReportOf(frontEnd.AudioModeChoice(), result.audioMode, AudioWrites(result.audioMode));
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

}  // namespace

void RunWriteCommand(CommandContext& context) {
    if (!FindTargetDrive(context) ||
        !OpenAndReadSettings(context, context.report.devices.front())) {
        return;
    }
    DeviceReport& device = context.report.devices.front();
    if (!RequestFitsDrive(context, device)) {
        return;
    }
    // Read once, just before the write, as the window's watcher would have read it last.
    const bool audioWritten =
        device.audioMode.supported && (IsRestore(context) || context.request.audioMode.requested);
    const PolledReadiness readiness(audioWritten && context.session.AudioModeChangeable());

    CliFrontEnd frontEnd(context.request.optimalSpeed, context.request.audioMode, device.device);
    context.session.ForgetFailures();
    RecordWrite(context, frontEnd, Apply(context, frontEnd, device, readiness));
    ReadDeviceSettings(context, device);  // what the drive holds now
    context.session.Close();
}
