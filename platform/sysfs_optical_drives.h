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
std::vector<DriveCandidate> ListOpticalDrives(const std::string& root);
