// The devices where the system may have an optical drive, in the order discovery tries them: on
// Windows every drive letter from C to Z; on Linux the drives that sysfs lists.
#pragma once

#include <string>
#include <vector>

struct DriveCandidate {
    std::string devicePath;  // what the transport opens: "E:"; "/dev/sg1" or "/dev/sr0"
    std::string name;        // how the user knows the drive: "E:"; "/dev/sr0"
    // Linux: reached through the block node /dev/srN because the drive has no SCSI generic node.
    // The kernel's command filter there refuses WRITE BUFFER to users without CAP_SYS_RAWIO.
    bool throughBlockNode = false;
    // The system lists an optical drive here (Linux: sysfs says so). A drive letter may be any
    // kind of drive: one that cannot be opened there need not be an optical drive at all.
    bool opticalDrive = false;
};

std::vector<DriveCandidate> ListSystemDriveCandidates();

// Every drive letter from C to Z, in order.
std::vector<DriveCandidate> DriveLetterCandidates();

// A drive letter as the Windows transport and the simulated drives name it: "E:".
inline DriveCandidate LetterCandidate(char letter) {
    const std::string path{letter, ':'};
    return DriveCandidate{path, path};
}
