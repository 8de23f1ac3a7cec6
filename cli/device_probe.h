// Finding and reading the drive a command works on, and the failures that can stop it there:
// no such device, not a supported drive, a device the system will not open, settings that
// cannot be read.
#pragma once

#include <string>
#include <vector>

#include "cli/command_context.h"

// Asks one device for its model identification and INQUIRY text.
DeviceReport ProbeDevice(DriveSession& session, const DriveCandidate& candidate);

// The drive the command names (DEVICE), or for show without one the only supported drive. On
// success it is probed and the one entry of report.devices; otherwise the failure is in the report.
bool FindTargetDrive(CommandContext& context);

// Opens the target drive (report.devices[0]) and reads its settings page into its report;
// false, with the failure in the report, when either fails.
bool OpenAndReadSettings(CommandContext& context);

// Reads the open drive's settings page into the device's report; false when it cannot be read.
bool ReadDeviceSettings(DriveSession& session, DeviceReport& device);

// Records that the device could not be opened: no such device when the system says nothing is
// there, else no access, with what the user can do about missing rights.
void FailToOpen(CommandContext& context, const DeviceReport& device);

// Records that a command failed, after the given message: no access when the system refused it
// for want of rights, otherwise the drive refused it or did not answer.
void FailCommand(CommandContext& context, int textId, const std::string& deviceName);

// Adds the advice for a user without the rights the drive needs, once per run.
void AdviseOnRights(CommandContext& context);
