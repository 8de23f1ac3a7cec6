#include "platform/drive_candidates.h"

// Every letter is tried, whatever kind of drive it names: only the drive's own answer to the
// model identification read decides whether it is listed.
std::vector<DriveCandidate> ListSystemDriveCandidates() {
    return DriveLetterCandidates();
}
