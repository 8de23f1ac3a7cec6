#include "platform/drive_candidates.h"

std::vector<DriveCandidate> DriveLetterCandidates() {
    std::vector<DriveCandidate> candidates;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        candidates.push_back(LetterCandidate(letter));
    }
    return candidates;
}
