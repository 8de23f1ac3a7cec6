// Finding and reading the drive a command works on. What stops it there (no such device, not a
// supported drive, a device the system will not open, settings that cannot be read) is noted in
// the report as a finding; the verdict words it.
#pragma once

#include "cli/command_context.h"

// Asks one device for its model identification and INQUIRY text.
DeviceReport ProbeDevice(DriveSession& session, const DriveCandidate& candidate);

// The drive the command names (DEVICE), or for show without one the only supported drive. On
// success it is probed and the one entry of report.devices; otherwise the finding says why not.
bool FindTargetDrive(CommandContext& context);

// Opens the device and reads its settings page into its report; false, with the finding noted,
// when either fails.
bool OpenAndReadSettings(CommandContext& context, DeviceReport& device);

// Reads the open drive's settings page into the device's report; false, with the finding noted,
// when it cannot be read.
bool ReadDeviceSettings(CommandContext& context, DeviceReport& device);

// Notes that the system would not open the device.
void NoteOpenRefused(CliReport& report, const DeviceReport& device);
