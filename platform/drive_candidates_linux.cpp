#include "platform/drive_candidates.h"
#include "platform/sysfs_optical_drives.h"

// The optical drives sysfs lists; only the drive's own answer to the model identification read
// decides whether one is listed.
std::vector<DriveCandidate> ListSystemDriveCandidates() {
    return ListOpticalDrives("/");
}
