// The optical drives of a Linux system as sysfs lists them: every /sys/class/block/srN whose SCSI
// device has peripheral type 5, reached through its SCSI generic node /dev/sgM where there is one
// and through /dev/srN otherwise. Linux only.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_candidates.h"

// Reads the sysfs and /dev trees under root ("/" for the system's own; a test's fake tree
// otherwise) and returns the drives in the order of N. The device paths are the system's names
// ("/dev/sg1"), not prefixed with root.
// Each drive's identity is filled in from the same tree (DriveCandidate).
std::vector<DriveCandidate> ListOpticalDrives(const std::string& root);

// The SCSI address "H:C:T:L" of the SCSI device a sysfs device directory belongs to (the name in
// its device/scsi_device/); empty when sysfs gives none. The directory is a block device's
// (/sys/class/block/sr0), an sg node's (.../scsi_generic/sg1) or one /sys/dev names.
std::string ScsiAddressOf(const std::string& deviceDirectory);

// The device number "major:minor" in a sysfs device directory's `dev`; empty when there is none.
std::string DeviceNumberOf(const std::string& deviceDirectory);
