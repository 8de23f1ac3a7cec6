#include "cli/run_verdict.h"

#include "cli/exit_codes.h"
#include "cli/report_vocabulary.h"
#include "cli/system_error.h"
#include "drive/permission_refusal.h"
#include "res/resource_ids.h"

namespace {

constexpr size_t kNamesShownInFull = 4;

// Every name, or with elide the first two and the last of a long list.
std::string Listed(const std::vector<std::string>& names, bool elide) {
    if (names.empty()) {
        return "-";
    }
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        if (elide && names.size() > kNamesShownInFull && i >= 2 && i + 1 < names.size()) {
            text += i == 2 ? ", ..." : "";
            continue;
        }
        text += (i == 0 ? "" : ", ") + names[i];
    }
    return text;
}

// The lower failure wins; success only when every part succeeded.
int Combined(int first, int second) {
    return first == kExitSuccess || (second != kExitSuccess && second < first) ? second : first;
}

// The exit code of a setting's write; success only for a value the read-back confirmed. A
// setting left unwritten because the run was asked to end is the interruption's to tell.
int ExitCodeOf(const SettingWriteReport& write, bool stoppedEarly) {
    if (!write.requested || (stoppedEarly && write.outcome == SettingOutcome::kNotWritten)) {
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

// Each kind of message has one code, for scripts: given beside its text in the calls below, and
// here for the texts that come from elsewhere (the command line's errors, the settings code's
// message boxes and log box lines). A text of the settings code not named here has the general
// code.
struct TextCode {
    int textId;
    const char* code;
};

constexpr TextCode kUsageCodes[] = {
    {IDS_CLI_USAGE_ERROR, "usage"},
    {IDS_CLI_ONE_COMMAND, "one_command_at_a_time"},
    {IDS_CLI_NAME_A_SETTING, "no_setting_named"},
};

constexpr TextCode kWindowTextCodes[] = {
    {IDS_COMPLETE, "complete"},
    {IDS_DEFAULT_SETTING, "default_setting"},
    {IDS_SPEED_SET_FAILED, "speed_not_set"},
    {IDS_AUDIO_SET_FAILED, "audio_mode_not_set"},
    {IDS_SETTING_UP_APPLY, "disc_setting_up"},
    {IDS_SETTING_UP_RESTORE, "disc_setting_up"},
    {IDS_UNEXPECTED_ERROR, "unexpected_error"},
    {IDS_WRITE_NEEDS_SG, "write_needs_sg"},
    {IDS_CLI_DRY_RUN_NEEDS_SG, "write_would_need_sg"},
};

template <size_t N>
const char* CodeOf(const TextCode (&codes)[N], int textId, const char* otherwise) {
    for (const TextCode& entry : codes) {
        if (entry.textId == textId) {
            return entry.code;
        }
    }
    return otherwise;
}

class Verdict {
public:
    Verdict(CliReport& report, AccessRemedy remedy) : report_(report), remedy_(remedy) {}

    void Conclude() {
        for (const Finding& finding : report_.findings) {
            Tell(finding);
        }
    }

private:
    void Add(Severity severity, const char* code, std::vector<int> textIds,
             std::vector<MessageArgument> args = {}) {
        report_.messages.push_back(CliMessage{severity, code, std::move(textIds), std::move(args)});
    }

    // A failure: its message, and its exit code combined with those before it.
    void Fail(int exitCode, const char* code, std::vector<int> textIds,
              std::vector<MessageArgument> args = {}) {
        Add(Severity::kError, code, std::move(textIds), std::move(args));
        Exit(exitCode);
    }

    void Exit(int code) { report_.exitCode = Combined(report_.exitCode, code); }

    // The advice for a user without the rights the drive needs, once per run.
    void AdviseOnRights() {
        const bool elevated = remedy_ == AccessRemedy::kRunElevated;
        const int advice = elevated ? IDS_CLI_ADVICE_ELEVATED : IDS_CLI_ADVICE_CDROM_GROUP;
        for (const CliMessage& message : report_.messages) {
            if (message.textIds == std::vector<int>{advice}) {
                return;
            }
        }
        Add(Severity::kInformation, elevated ? "advice_run_elevated" : "advice_cdrom_group",
            {advice});
    }

    void Tell(const Finding& finding) {
        switch (finding.kind) {
            case FindingKind::kCannotStart:
                return Fail(kExitInternalError, "cannot_start", {IDS_CLI_CANNOT_START});
            case FindingKind::kUsage:
                return Fail(kExitUsage, CodeOf(kUsageCodes, finding.textId, "usage"),
                            {finding.textId}, {finding.arguments.begin(), finding.arguments.end()});
            case FindingKind::kNoSuchDevice:
                return Fail(kExitNoDevice, "no_such_device", {IDS_CLI_NO_SUCH_DEVICE},
                            {finding.device, Listed(finding.arguments, true)});
            case FindingKind::kNotListedDrive:
                return Fail(kExitNoDevice, "not_a_listed_drive", {IDS_CLI_NOT_LISTED_DRIVE},
                            {finding.device, Listed(finding.arguments, true)});
            case FindingKind::kNotSupportedDrive:
                return Fail(kExitNoDevice, "not_a_supported_drive", {IDS_CLI_NOT_SUPPORTED_DRIVE},
                            {finding.device});
            case FindingKind::kSeveralDrives:
                return Fail(kExitNoDevice, "several_drives", {IDS_CLI_SEVERAL_DRIVES},
                            {Listed(finding.arguments, false)});
            case FindingKind::kNoDriveFound:
                return Fail(kExitNoDevice, "no_drive_found", {IDS_TARGET_NOT_FOUND});
            case FindingKind::kOpenRefused:
                return OpenRefused(finding);
            case FindingKind::kSettingMissing:
                return Fail(kExitNotSupported, "setting_not_supported",
                            {finding.textId, IDS_NOT_SUPPORTED});
            case FindingKind::kSettingsUnreadable:
                return CommandFailed("settings_unreadable", IDS_CLI_CANNOT_READ_SETTINGS,
                                     finding.device, finding.failure);
            case FindingKind::kWrite:
                return Write(finding.device);
            case FindingKind::kDriveBusy:
                return Fail(kExitBusy, "drive_busy", {IDS_CLI_DRIVE_BUSY}, {finding.device});
            case FindingKind::kWriteAccessRefused:
                return AccessRefused(finding.device);
            case FindingKind::kInterrupted:
                return report_.wrote ? Fail(kExitInterrupted, "interrupted_during_write",
                                            {IDS_CLI_INTERRUPTED_WRITE})
                                     : Fail(kExitInterrupted, "interrupted", {IDS_CLI_INTERRUPTED});
            case FindingKind::kOutputFailed:
                return Fail(kExitOutputFailed, "output_failed", {IDS_CLI_OUTPUT_FAILED});
            case FindingKind::kReplayUnusable:
                return Fail(
                    kExitUsage, "replay_unusable", {IDS_CLI_REPLAY_UNUSABLE},
                    {finding.device, finding.arguments.empty() ? "" : finding.arguments[0]});
            case FindingKind::kIdentificationNotAnswered:
                return Add(Severity::kWarning, "identification_not_answered",
                           {IDS_CLI_IDENTIFICATION_NOT_ANSWERED},
                           {finding.device, MessageArgument(finding.failure.reasonId,
                                                            finding.failure.reasonArgument)});
            case FindingKind::kModelReplyShort:
                return Add(Severity::kWarning, "model_reply_short", {IDS_CLI_MODEL_REPLY_SHORT},
                           {finding.device, std::to_string(finding.replyBytes)});
        }
    }

    // Each reason the system gives has its words and code: nothing there, in use by another
    // program, no answer; otherwise no access, with what the user can do about missing rights.
    void OpenRefused(const Finding& finding) {
        const std::vector<MessageArgument> args{finding.device, SystemErrorText(finding.osError)};
        if (IsAbsentDevice(finding.osError)) {
            return Fail(kExitNoDevice, "device_absent", {IDS_CLI_OPEN_ABSENT}, args);
        }
        if (IsBusy(finding.osError)) {
            return Fail(kExitBusy, "device_in_use", {IDS_CLI_OPEN_BUSY}, args);
        }
        if (IsDeviceError(finding.osError)) {
            return Fail(kExitDriveRefused, "device_no_answer", {IDS_CLI_OPEN_NO_ANSWER}, args);
        }
        Fail(kExitNoAccess, "open_refused", {IDS_OPEN_FAILED, IDS_CLI_ON_DEVICE, IDS_CLI_REASON},
             args);
        if (IsPermissionError(finding.osError)) {
            AdviseOnRights();
        }
    }

    // A command failed, after the given message: no access when the system refused it for want of
    // rights, otherwise the drive refused it or did not answer.
    void CommandFailed(const char* code, int textId, const std::string& device,
                       const CommandFailure& failure) {
        const MessageArgument reason(failure.reasonId, failure.reasonArgument);
        if (failure.refusedForRights) {
            Fail(kExitNoAccess, "command_no_access", {IDS_CLI_WRITE_NO_ACCESS}, {device, reason});
            AdviseOnRights();
            return;
        }
        Fail(kExitDriveRefused, code, {textId}, {device, reason});
    }

    void Write(const std::string& device) {
        const WriteReport& write = report_.write;
        if (write.access.outcome != WriteAccessOutcome::kGranted) {
            return AccessRefused(device);  // nothing was sent: no setting's outcome to tell
        }
        if (write.driveGone) {
            Fail(kExitNoDevice, "drive_gone", {IDS_CLI_DRIVE_GONE}, {device});
        }
        DiscStop(device);
        WindowTexts();
        if (write.discStop == DiscStopOutcome::kBecomingReady ||
            write.discStop == DiscStopOutcome::kFailed) {
            return;  // nothing was written, and the disc stop has said why
        }
        // A refusal the front end explained with its own words (a block node's command filter):
        // the generic want-of-rights message and its advice would only contradict them. A
        // refused write whose read-back still shows the value asked for (the drive held it
        // already) has left the drive as requested: no refusal to tell.
        const bool refusalSaid = write.optimalSpeed.outcome == SettingOutcome::kRefused ||
                                 write.audioMode.outcome == SettingOutcome::kRefused;
        const bool allConfirmed = Confirmed(write.optimalSpeed) && Confirmed(write.audioMode);
        if (write.rightsRefusal.refusedForRights && !refusalSaid && !allConfirmed) {
            CommandFailed("command_no_access", IDS_CLI_WRITE_NO_ACCESS, device,
                          write.rightsRefusal);
        }
        for (const ReportedSetting& setting : kReportedSettings) {
            const SettingWriteReport& written = write.*setting.write;
            Exit(ExitCodeOf(written, write.stoppedEarly));
            // Refused by the drive and not confirmed: both apply, and the lower code wins.
            if (written.requested && written.outcome == SettingOutcome::kNotConfirmed &&
                written.driveRefusedEvery) {
                Fail(kExitDriveRefused, "drive_refused_write",
                     {setting.labelId, IDS_CLI_DRIVE_REFUSED_WRITE},
                     {MessageArgument(written.driveRefusal.reasonId,
                                      written.driveRefusal.reasonArgument)});
            }
        }
    }

    // The drive could not be had to this run: another writer of the utility kept its lock, the
    // system refused the exclusive claim (a mounted disc, a burning program), or its block node
    // would not open.
    void AccessRefused(const std::string& device) {
        const WriteAccess& access = report_.write.access;
        switch (access.outcome) {
            case WriteAccessOutcome::kGranted:
                return;
            case WriteAccessOutcome::kBusy:
                return Fail(kExitBusy, "drive_busy", {IDS_CLI_DRIVE_BUSY}, {device});
            case WriteAccessOutcome::kInUse:
                if (!access.mountPoint.empty()) {
                    return Fail(kExitBusy, "disc_mounted", {IDS_CLI_DISC_MOUNTED},
                                {device, access.mountPoint});
                }
                return Fail(kExitBusy, "device_in_use", {IDS_CLI_OPEN_BUSY},
                            {device, SystemErrorText(access.osError)});
            case WriteAccessOutcome::kNotOpened: {
                Finding refused{FindingKind::kOpenRefused, report_.write.accessNode};
                refused.osError = access.osError;
                return OpenRefused(refused);
            }
        }
    }

    void DiscStop(const std::string& device) {
        const WriteReport& write = report_.write;
        switch (write.discStop) {
            case DiscStopOutcome::kNotNeeded:
                return;
            case DiscStopOutcome::kStopped:
                return write.dryRun
                           ? Add(Severity::kInformation, "disc_would_stop",
                                 {IDS_CLI_DISC_WOULD_STOP})
                           : Add(Severity::kInformation, "disc_stopped", {IDS_CLI_DISC_STOPPED});
            case DiscStopOutcome::kBecomingReady:
                return Exit(kExitNotReady);  // the window's status line says it
            case DiscStopOutcome::kFailed:
                return CommandFailed("disc_stop_failed", IDS_CLI_STOP_FAILED, device,
                                     write.stopFailure);
        }
    }

    // The window's message boxes and the log box's last lines, as messages. A dry run has written
    // nothing, so it says neither "complete" nor "default setting".
    void WindowTexts() {
        const WriteReport& write = report_.write;
        for (int alert : write.alerts) {
            Add(Severity::kError, CodeOf(kWindowTextCodes, alert, "settings_message"), {alert});
        }
        for (int line : write.statusLines) {
            const bool done = line == IDS_COMPLETE || line == IDS_DEFAULT_SETTING;
            if (!(done && write.dryRun)) {
                Add(done ? Severity::kInformation : Severity::kError,
                    CodeOf(kWindowTextCodes, line, "settings_message"), {line});
            }
        }
    }

    CliReport& report_;
    AccessRemedy remedy_;
};

}  // namespace

void ConcludeReport(CliReport& report, AccessRemedy remedy) {
    Verdict(report, remedy).Conclude();
}

int ExitCodeAfterOutput(int exitCode, bool written) {
    return written ? exitCode : Combined(exitCode, kExitOutputFailed);
}
