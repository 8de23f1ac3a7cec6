#include "cli/show_command.h"

#include "cli/drive_finder.h"

void RunShowCommand(CommandContext& context) {
    if (!FindTargetDrive(context) || !ReadDeviceSettings(context, context.report.devices.front())) {
        return;
    }
    DeviceReport& device = context.report.devices.front();
    if (device.audioMode.supported) {
        device.audioModeChangeable =
            context.session.AudioModeChangeable() ? ReadyState::kReady : ReadyState::kNotReady;
    }
    context.session.Close();
}
