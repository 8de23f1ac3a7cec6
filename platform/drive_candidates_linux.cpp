#include <string>

#include "platform/drive_candidates.h"

// The CD-ROM block nodes in order, sr0 to sr23.
std::vector<DriveCandidate> ListSystemDriveCandidates() {
    std::vector<DriveCandidate> candidates;
    for (int index = 0; index < 24; ++index) {
        const std::string node = "/dev/sr" + std::to_string(index);
        candidates.push_back(DriveCandidate{node, node});
    }
    return candidates;
}
