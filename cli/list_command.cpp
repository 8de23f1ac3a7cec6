#include "cli/list_command.h"

#include "cli/drive_finder.h"

namespace {

// A device that is not there at all is no device present: --all leaves it out too.
bool IsPresent(const DeviceReport& device) {
    return device.probe != ProbeOutcome::kNotOpened || OpenFailedButPresent(device);
}

}  // namespace

// Each device is identified and, when supported, its settings are read in the same open. An
// optical drive the system would not open (or another program held) is named with what to do,
// and the exit code says it; so is any device refused when no drive is listed, as it may be one.
void RunListCommand(CommandContext& context) {
    std::vector<DeviceReport> refused;
    int supported = 0;
    for (const DriveCandidate& candidate : context.candidates) {
        if (context.Interrupted()) {
            break;
        }
        DeviceReport device = ProbeDevice(context.session, candidate);
        if (device.probe == ProbeOutcome::kSupported) {
            ReadDeviceSettings(context, device);  // the settings it has
            ++supported;
        } else if (OpenFailedButPresent(device)) {
            refused.push_back(device);
        } else {
            NoteIdentificationProblem(context.report, device);
        }
        context.session.Close();
        if (device.probe == ProbeOutcome::kSupported ||
            (context.request.all && IsPresent(device))) {
            context.report.devices.push_back(device);
        }
    }
    // A drive letter refused beside a listed drive may be any kind of drive: not named then.
    for (const DeviceReport& device : refused) {
        if (supported == 0 || device.device.opticalDrive) {
            NoteOpenRefused(context.report, device);
        }
    }
    if (supported == 0 && refused.empty()) {
        context.report.Note(Finding{FindingKind::kNoDriveFound});
    }
}
