#include "cli/show_command.h"

#include "cli/device_probe.h"

void RunShowCommand(CommandContext& context) {
    if (!FindTargetDrive(context) || !OpenAndReadSettings(context)) {
        return;
    }
    DeviceReport& device = context.report.devices.front();
    if (device.audioMode.supported) {
        device.audioModeChangeable =
            context.session.AudioModeChangeable() ? ReadyState::kReady : ReadyState::kNotReady;
    }
    context.session.Close();
}
