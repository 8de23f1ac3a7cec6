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
    // Linux: who the drive is, as sysfs showed it when the drive was listed, so that a later open
    // of devicePath can be confirmed to reach the same device (the kernel gives a freed name to
    // the next device plugged in). Empty elsewhere, and where sysfs does not say.
    std::string scsiAddress{};  // its SCSI device's address H:C:T:L ("2:0:0:0")
    std::string nodeNumber{};   // the device number "major:minor" of the node devicePath ("21:1")
    std::string blockNode{};    // the block node /dev/srN, where its lock and claim are taken
    std::string blockNumber{};  // its device number ("11:0"), as the mount table names it
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
