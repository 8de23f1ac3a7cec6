#include "cli/device_probe.h"

#include "cli/device_argument.h"
#include "cli/exit_codes.h"
#include "cli/system_error.h"
#include "res/resource_ids.h"

namespace {

constexpr size_t kNamesShownInFull = 4;

// Where the drives are looked for: every name, or the first two and the last of a long list.
std::string WhereDrivesAre(const std::vector<DriveCandidate>& candidates) {
    if (candidates.empty()) {
        return "-";
    }
    std::string names;
    for (size_t i = 0; i < candidates.size(); ++i) {
        const bool elided =
            candidates.size() > kNamesShownInFull && i >= 2 && i + 1 < candidates.size();
        if (elided) {
            if (i == 2) {
                names += ", ...";
            }
            continue;
        }
        names += (i == 0 ? "" : ", ") + candidates[i].name;
    }
    return names;
}

std::string JoinedNames(const std::vector<DeviceReport>& devices) {
    std::string names;
    for (const DeviceReport& device : devices) {
        names += (names.empty() ? "" : ", ") + device.device.name;
    }
    return names;
}

SettingState StateOf(bool supported, uint8_t current, uint8_t saved) {
    return SettingState{supported, current, saved};
}

bool FindNamedDrive(CommandContext& context) {
    const DriveCandidate* candidate =
        FindDeviceCandidate(context.candidates, context.request.device);
    if (candidate == nullptr) {
        context.report.Fail(kExitNoDevice, {IDS_CLI_NO_SUCH_DEVICE},
                            {context.request.device, WhereDrivesAre(context.candidates)});
        return false;
    }
    const DeviceReport device = ProbeDevice(context.session, *candidate);
    switch (device.probe) {
        case ProbeOutcome::kSupported:
            context.report.devices.push_back(device);
            return true;
        case ProbeOutcome::kNotOpened:
            FailToOpen(context, device);
            return false;
        default:
            context.report.devices.push_back(device);
            context.report.Fail(kExitNoDevice, {IDS_CLI_NOT_SUPPORTED_DRIVE}, {device.device.name});
            return false;
    }
}

// show without DEVICE: the one supported drive there is.
bool FindOnlyDrive(CommandContext& context) {
    std::vector<DeviceReport> supported;
    std::vector<DeviceReport> refused;
    for (const DriveCandidate& candidate : context.candidates) {
        const DeviceReport device = ProbeDevice(context.session, candidate);
        if (device.probe == ProbeOutcome::kSupported) {
            supported.push_back(device);
        } else if (device.probe == ProbeOutcome::kNotOpened && IsRightsError(device.openError)) {
            refused.push_back(device);
        }
    }
    if (supported.size() == 1) {
        context.report.devices.push_back(supported.front());
        return true;
    }
    if (supported.size() > 1) {
        context.report.Fail(kExitNoDevice, {IDS_CLI_SEVERAL_DRIVES}, {JoinedNames(supported)});
        return false;
    }
    for (const DeviceReport& device : refused) {
        FailToOpen(context, device);
    }
    if (refused.empty()) {
        context.report.Fail(kExitNoDevice, {IDS_TARGET_NOT_FOUND});
    }
    return false;
}

// A failure the drive's answers do not show: a GOOD reply too short to use, or a command whose
// worker outlasted the wait.
FailureReason UnseenFailure(const DriveState& state) {
    if (state.block.status == kCommandCompleted) {
        return FailureReason{IDS_CLI_SHORT_REPLY, ""};
    }
    return FailureReason{IDS_CLI_TIMED_OUT, ""};
}

}  // namespace

DeviceReport ProbeDevice(DriveSession& session, const DriveCandidate& candidate) {
    DeviceReport device;
    device.device = candidate;
    DriveEntry entry;
    device.probe = session.Probe(candidate, &entry);
    device.openError = device.probe == ProbeOutcome::kNotOpened ? session.OpenError() : 0;
    if (device.probe == ProbeOutcome::kSupported) {
        device.model = entry.model;
        // The list text is the name, a space, and the INQUIRY text.
        device.inquiry = entry.listText.substr(candidate.name.size() + 1);
    }
    return device;
}

bool FindTargetDrive(CommandContext& context) {
    return context.request.device.empty() ? FindOnlyDrive(context) : FindNamedDrive(context);
}

bool OpenAndReadSettings(CommandContext& context) {
    DeviceReport& device = context.report.devices.front();
    if (!context.session.Open(device.device)) {
        device.openError = context.session.OpenError();
        FailToOpen(context, device);
        return false;
    }
    context.observer.ForgetFailures();
    if (!ReadDeviceSettings(context.session, device)) {
        FailCommand(context, IDS_CLI_CANNOT_READ_SETTINGS, device.device.name);
        return false;
    }
    return true;
}

bool ReadDeviceSettings(DriveSession& session, DeviceReport& device) {
    SettingsPage page;
    if (!session.ReadPage(&page)) {
        return false;
    }
    device.settingsRead = true;
    device.optimalSpeed =
        StateOf(page.OptimalSpeedSupported(), page.bytes[kPageOptimalSpeedCurrent],
                page.bytes[kPageOptimalSpeedSaved]);
    device.audioMode = StateOf(page.AudioModeSupported(), page.bytes[kPageAudioModeCurrent],
                               page.bytes[kPageAudioModeSaved]);
    return true;
}

namespace {

// The node the system refused: on Linux a drive is opened through its SCSI generic node when it
// has one, and that node's rights are what the user must get; a Windows path (\\.\E:) says
// less than the drive's letter.
std::string OpenedNodeName(const DriveCandidate& device) {
    return device.devicePath.rfind("/dev/", 0) == 0 ? device.devicePath : device.name;
}

}  // namespace

void FailToOpen(CommandContext& context, const DeviceReport& device) {
    const int code = IsAbsentDevice(device.openError) ? kExitNoDevice : kExitNoAccess;
    context.report.Fail(code, {IDS_OPEN_FAILED, IDS_CLI_ON_DEVICE, IDS_CLI_REASON},
                        {OpenedNodeName(device.device), SystemErrorText(device.openError)});
    if (IsRightsError(device.openError)) {
        AdviseOnRights(context);
    }
}

void FailCommand(CommandContext& context, int textId, const std::string& deviceName) {
    const CommandObserver& observer = context.observer;
    if (observer.RefusedForRights()) {
        const FailureReason reason = DescribeFailure(observer.RefusalForRights());
        context.report.Fail(kExitNoAccess, {IDS_CLI_WRITE_NO_ACCESS},
                            {deviceName, MessageArgument(reason.textId, reason.argument)});
        AdviseOnRights(context);
        return;
    }
    const FailureReason reason = observer.HasFailure() ? DescribeFailure(observer.LastFailure())
                                                       : UnseenFailure(context.session.State());
    context.report.Fail(kExitDriveRefused, {textId},
                        {deviceName, MessageArgument(reason.textId, reason.argument)});
}

void AdviseOnRights(CommandContext& context) {
    const int advice = context.remedy == AccessRemedy::kRunElevated ? IDS_CLI_ADVICE_ELEVATED
                                                                    : IDS_CLI_ADVICE_CDROM_GROUP;
    for (const CliMessage& message : context.report.messages) {
        if (message.textIds == std::vector<int>{advice}) {
            return;
        }
    }
    context.report.Add(Severity::kInformation, {advice});
}
