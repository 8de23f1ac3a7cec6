#include "cli/list_command.h"

#include "cli/drive_finder.h"
#include "cli/system_error.h"
#include "drive/permission_refusal.h"

namespace {

// A device that is not there at all is no device present: --all leaves it out too.
bool IsPresent(const DeviceReport& device) {
    return device.probe != ProbeOutcome::kNotOpened || !IsAbsentDevice(device.openError);
}

bool RefusedForRights(const DeviceReport& device) {
    return device.probe == ProbeOutcome::kNotOpened && IsPermissionError(device.openError);
}

}  // namespace

void RunListCommand(CommandContext& context) {
    std::vector<DeviceReport> refused;
    int supported = 0;
    for (const DriveCandidate& candidate : context.candidates) {
        DeviceReport device = ProbeDevice(context.session, candidate);
        if (device.probe == ProbeOutcome::kSupported) {
            OpenAndReadSettings(context, device);  // the settings it has
            context.session.Close();
            ++supported;
        } else if (RefusedForRights(device)) {
            refused.push_back(device);
        }
        if (device.probe == ProbeOutcome::kSupported ||
            (context.request.all && IsPresent(device))) {
            context.report.devices.push_back(device);
        }
    }
    if (supported > 0) {
        return;
    }
    // No drive listed: a device the system would not open may well be the drive.
    for (const DeviceReport& device : refused) {
        NoteOpenRefused(context.report, device);
    }
    if (refused.empty()) {
        context.report.Note(Finding{FindingKind::kNoDriveFound});
    }
}
