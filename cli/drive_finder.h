// Finding and reading the drive a command works on. A drive is identified in the open it is then
// worked on: the device stays open (and the drive access held) from its identification until
// the command closes it. What stops a command here (no such device, not a supported drive, a
// device the system will not open or another program holds, settings that cannot be read) is
// noted in the report as a finding; the verdict words it.
#pragma once

#include "cli/command_context.h"

// Opens one device and asks it for its model identification and INQUIRY text; the device is
// left open for the caller to work on or close.
DeviceReport ProbeDevice(DriveSession& session, const DriveCandidate& candidate);

// The drive the command names (DEVICE), or for show without one the only supported drive. On
// success it is identified, open, and the one entry of report.devices; otherwise the finding
// says why not.
bool FindTargetDrive(CommandContext& context);

// Reads the open drive's settings page into the device's report; false, with the finding noted,
// when it cannot be read (after a write: the values read before it are then no longer shown).
bool ReadDeviceSettings(CommandContext& context, DeviceReport& device);

// Notes why an optical drive gave no model identification, when it is something to tell: the
// query was not answered, or its reply was cut short.
void NoteIdentificationProblem(CliReport& report, const DeviceReport& device);

// A device present that could not be opened (rights, in use, no answer): named to the user.
bool OpenFailedButPresent(const DeviceReport& device);

// Notes that the device could not be opened, or that another program held the drives.
void NoteOpenRefused(CliReport& report, const DeviceReport& device);
