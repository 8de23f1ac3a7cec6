#include "cli/list_command.h"

#include "cli/device_probe.h"
#include "cli/exit_codes.h"
#include "cli/system_error.h"
#include "res/resource_ids.h"

namespace {

// A device that is not there at all is no device present: --all leaves it out too.
bool IsPresent(const DeviceReport& device) {
    return device.probe != ProbeOutcome::kNotOpened || !IsAbsentDevice(device.openError);
}

bool RefusedForRights(const DeviceReport& device) {
    return device.probe == ProbeOutcome::kNotOpened && IsRightsError(device.openError);
}

// The settings a supported drive has, from its settings page.
void ReadSupportedSettings(CommandContext& context, DeviceReport& device) {
    if (!context.session.Open(device.device)) {
        device.openError = context.session.OpenError();
        FailToOpen(context, device);
        return;
    }
    context.observer.ForgetFailures();
    if (!ReadDeviceSettings(context.session, device)) {
        FailCommand(context, IDS_CLI_CANNOT_READ_SETTINGS, device.device.name);
    }
    context.session.Close();
}

}  // namespace

void RunListCommand(CommandContext& context) {
    std::vector<DeviceReport> refused;
    int supported = 0;
    for (const DriveCandidate& candidate : context.candidates) {
        DeviceReport device = ProbeDevice(context.session, candidate);
        if (device.probe == ProbeOutcome::kSupported) {
            ReadSupportedSettings(context, device);
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
        FailToOpen(context, device);
    }
    if (refused.empty()) {
        context.report.Fail(kExitNoDevice, {IDS_TARGET_NOT_FOUND});
    }
}
