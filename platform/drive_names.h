// The names of a listed Linux drive that a script can keep, since they stay with the drive when its
// kernel name (sr0) goes to another device: udev's /dev/disk/by-id links to its block node, the
// SCSI address of its device (host:channel:target:lun) and its device's path in sysfs. Read from
// sysfs and /dev without opening any device. Windows drives have none of them.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_candidates.h"

struct DriveNames {
    std::vector<std::string>
        byId;                 // "/dev/disk/by-id/ata-...", in order; none where udev made none
    std::string scsiAddress;  // "2:0:0:0"; empty when sysfs gives none
    std::string sysfsPath;    // "/sys/devices/.../block/sr0"; empty for no block device
};

// root: "/" for the system's own trees, a test's fake tree otherwise; the names given are the
// system's ("/dev/disk/by-id/..."), not prefixed with root.
DriveNames ReadDriveNames(const DriveCandidate& drive, const std::string& root);
