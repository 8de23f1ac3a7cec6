#include "cli/drive_finder.h"

#include "cli/device_argument.h"
#include "cli/system_error.h"

namespace {

std::vector<std::string> NamesOf(const std::vector<DriveCandidate>& candidates) {
    std::vector<std::string> names;
    for (const DriveCandidate& candidate : candidates) {
        names.push_back(candidate.name);
    }
    return names;
}

// The drive identified in the open now held, if it is a supported one.
bool TakeDrive(CommandContext& context, const DeviceReport& device) {
    if (device.probe == ProbeOutcome::kSupported) {
        context.report.devices.push_back(device);
        return true;
    }
    context.session.Close();
    if (device.probe == ProbeOutcome::kNotOpened) {
        NoteOpenRefused(context.report, device);
    } else {
        context.report.devices.push_back(device);
        context.report.Note(Finding{FindingKind::kNotSupportedDrive, device.device.name});
        NoteIdentificationProblem(context.report, device);
    }
    return false;
}

bool FindNamedDrive(CommandContext& context) {
    const DriveCandidate* candidate =
        FindDeviceCandidate(context.candidates, context.request.device);
    if (candidate == nullptr) {
        const FindingKind kind = NamesSomethingPresent(context.request.device)
                                     ? FindingKind::kNotListedDrive
                                     : FindingKind::kNoSuchDevice;
        context.report.Note(Finding{kind, context.request.device, 0, NamesOf(context.candidates)});
        return false;
    }
    return TakeDrive(context, ProbeDevice(context.session, *candidate));
}

// show without DEVICE: the one supported drive there is, identified again in the open it is then
// read in.
bool FindOnlyDrive(CommandContext& context) {
    std::vector<DeviceReport> supported;
    std::vector<DeviceReport> refused;
    for (const DriveCandidate& candidate : context.candidates) {
        const DeviceReport device = ProbeDevice(context.session, candidate);
        context.session.Close();
        if (device.probe == ProbeOutcome::kSupported) {
            supported.push_back(device);
        } else if (OpenFailedButPresent(device)) {
            refused.push_back(device);
        }
    }
    if (supported.size() == 1) {
        return TakeDrive(context, ProbeDevice(context.session, supported.front().device));
    }
    if (supported.size() > 1) {
        Finding several{FindingKind::kSeveralDrives};
        for (const DeviceReport& device : supported) {
            several.arguments.push_back(device.device.name);
        }
        context.report.Note(several);
        return false;
    }
    for (const DeviceReport& device : refused) {
        NoteOpenRefused(context.report, device);
    }
    if (refused.empty()) {
        context.report.Note(Finding{FindingKind::kNoDriveFound});
    }
    return false;
}

// The node the system refused: on Linux a drive is opened through its SCSI generic node when it
// has one, and that node's rights are what the user must get; a Windows path (\\.\E:) says
// less than the drive's letter.
std::string OpenedNodeName(const DriveCandidate& device) {
    return device.devicePath.rfind("/dev/", 0) == 0 ? device.devicePath : device.name;
}

}  // namespace

DeviceReport ProbeDevice(DriveSession& session, const DriveCandidate& candidate) {
    DeviceReport device;
    device.device = candidate;
    DriveEntry entry;
    device.probe = session.OpenAndIdentify(candidate, &entry);
    device.openError = device.probe == ProbeOutcome::kNotOpened ? session.OpenError() : 0;
    device.busy = device.probe == ProbeOutcome::kNotOpened && session.WaitedInVain();
    if (device.probe == ProbeOutcome::kSupported) {
        device.model = entry.model;
        // The list text is the name, a space, and the INQUIRY text.
        device.inquiry = entry.listText.substr(candidate.name.size() + 1);
    } else if (device.probe != ProbeOutcome::kNotOpened && candidate.opticalDrive) {
        device.identification = ModelReadProblem(session.State());
        device.identificationFailure = session.LastFailure();
        device.modelReplyBytes = session.State().block.transport.bytesTransferred;
    }
    return device;
}

void NoteIdentificationProblem(CliReport& report, const DeviceReport& device) {
    if (device.identification == IdentificationProblem::kNotAnswered) {
        Finding finding{FindingKind::kIdentificationNotAnswered, device.device.name};
        finding.failure = device.identificationFailure;
        report.Note(finding);
    } else if (device.identification == IdentificationProblem::kShortReply) {
        Finding finding{FindingKind::kModelReplyShort, device.device.name};
        finding.replyBytes = device.modelReplyBytes;
        report.Note(finding);
    }
}

bool FindTargetDrive(CommandContext& context) {
    return context.request.device.empty() ? FindOnlyDrive(context) : FindNamedDrive(context);
}

bool ReadDeviceSettings(CommandContext& context, DeviceReport& device) {
    context.session.ForgetFailures();
    SettingsPage page;
    if (!context.session.ReadPage(&page)) {
        Finding unreadable{FindingKind::kSettingsUnreadable, device.device.name};
        unreadable.failure = context.session.LastFailure();
        context.report.Note(unreadable);
        device.settingsStale = device.settingsRead;
        return false;
    }
    device.settingsRead = true;
    device.optimalSpeed =
        SettingState{page.OptimalSpeedSupported(), page.bytes[kPageOptimalSpeedCurrent],
                     page.bytes[kPageOptimalSpeedSaved]};
    device.audioMode = SettingState{page.AudioModeSupported(), page.bytes[kPageAudioModeCurrent],
                                    page.bytes[kPageAudioModeSaved]};
    return true;
}

bool OpenFailedButPresent(const DeviceReport& device) {
    return device.probe == ProbeOutcome::kNotOpened &&
           (device.busy || !IsAbsentDevice(device.openError));
}

void NoteOpenRefused(CliReport& report, const DeviceReport& device) {
    if (device.busy) {
        report.Note(Finding{FindingKind::kDriveBusy, device.device.name});
        return;
    }
    Finding refused{FindingKind::kOpenRefused, OpenedNodeName(device.device)};
    refused.osError = device.openError;
    report.Note(refused);
}
