#include "cli/write_command.h"

#include "cli/cli_front_end.h"
#include "cli/device_probe.h"
#include "cli/exit_codes.h"
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
        context.report.Fail(kExitNotSupported, {IDS_SPEED_LABEL, IDS_NOT_SUPPORTED});
    }
    if (audioMissing) {
        context.report.Fail(kExitNotSupported, {IDS_AUDIO_LABEL, IDS_NOT_SUPPORTED});
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

// The window's message boxes and the log box's last lines, as messages. A dry run has written
// nothing, so it says neither "complete" nor "default setting".
void ReportWindowTexts(CliReport& report, const CliFrontEnd& frontEnd, bool dryRun) {
    for (int alert : frontEnd.Alerts()) {
        report.Add(Severity::kError, {alert});
    }
    for (int line : frontEnd.StatusLines()) {
        const bool done = line == IDS_COMPLETE || line == IDS_DEFAULT_SETTING;
        if (!(done && dryRun)) {
            report.Add(done ? Severity::kInformation : Severity::kError, {line});
        }
    }
}

void ReportDiscStop(CommandContext& context, DiscStopOutcome outcome) {
    CliReport& report = context.report;
    const std::string& name = report.devices.front().device.name;
    switch (outcome) {
        case DiscStopOutcome::kNotNeeded:
            return;
        case DiscStopOutcome::kStopped:
            report.Add(Severity::kInformation, {context.dryRun != nullptr ? IDS_CLI_DISC_WOULD_STOP
                                                                          : IDS_CLI_DISC_STOPPED});
            return;
        case DiscStopOutcome::kBecomingReady:
            report.exitCode = CombineExitCodes(report.exitCode, kExitNotReady);
            return;
        case DiscStopOutcome::kFailed:
            FailCommand(context, IDS_CLI_STOP_FAILED, name);
            return;
    }
}

// The exit code of a setting's write; success only for a value the read-back confirmed.
int ExitCodeOf(const SettingWriteReport& write) {
    if (!write.requested) {
        return kExitSuccess;
    }
    switch (write.outcome) {
        case SettingOutcome::kConfirmed:
            return kExitSuccess;
        case SettingOutcome::kNotReady:
            return kExitNotReady;
        case SettingOutcome::kRefused:
            return kExitNoAccess;
        default:
            return kExitNotConfirmed;
    }
}

bool Confirmed(const SettingWriteReport& write) {
    return !write.requested || write.outcome == SettingOutcome::kConfirmed;
}

// A refused write whose read-back still shows the value asked for (the drive held it already)
// has left the drive as requested: that is success, not a refusal to report.
bool EveryRequestConfirmed(const WriteReport& write) {
    return Confirmed(write.optimalSpeed) && Confirmed(write.audioMode);
}

// A refusal the front end explained with its own words (a block node's command filter): the
// generic want-of-rights message and the cdrom-group advice would only contradict them.
bool RefusalOutcomeSaid(const WriteReport& write) {
    return write.optimalSpeed.outcome == SettingOutcome::kRefused ||
           write.audioMode.outcome == SettingOutcome::kRefused;
}

void DecideExitCode(CommandContext& context) {
    CliReport& report = context.report;
    const WriteReport& write = report.write;
    if (write.discStop == DiscStopOutcome::kBecomingReady ||
        write.discStop == DiscStopOutcome::kFailed) {
        return;  // nothing was written; ReportDiscStop has said why
    }
    if (context.observer.RefusedForRights() && !RefusalOutcomeSaid(write) &&
        !EveryRequestConfirmed(write)) {
        FailCommand(context, IDS_CLI_WRITE_NO_ACCESS, report.devices.front().device.name);
    }
    report.exitCode = CombineExitCodes(report.exitCode, ExitCodeOf(write.optimalSpeed));
    report.exitCode = CombineExitCodes(report.exitCode, ExitCodeOf(write.audioMode));
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

}  // namespace

void RunWriteCommand(CommandContext& context) {
    if (!FindTargetDrive(context) || !OpenAndReadSettings(context)) {
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
    context.observer.ForgetFailures();
    const ApplyResult result = Apply(context, frontEnd, device, readiness);

    WriteReport& write = context.report.write;
    context.report.wrote = true;
    write.restore = IsRestore(context);
    write.dryRun = context.dryRun != nullptr;
    write.discStop = result.discStop;
    write.optimalSpeed =
        WriteReportOf(frontEnd.OptimalSpeedChoice(), result.optimalSpeed, result.speedWrites);
    write.audioMode =
        WriteReportOf(frontEnd.AudioModeChoice(), result.audioMode, AudioWrites(result.audioMode));
    if (context.dryRun != nullptr) {
        write.withheld = context.dryRun->Withheld();
        context.dryRun->StopPretending();
    }
    ReportDiscStop(context, result.discStop);
    ReportWindowTexts(context.report, frontEnd, write.dryRun);
    DecideExitCode(context);

    context.observer.ForgetFailures();
    if (!ReadDeviceSettings(context.session, device)) {
        FailCommand(context, IDS_CLI_CANNOT_READ_SETTINGS, device.device.name);
    }
    context.session.Close();
}
