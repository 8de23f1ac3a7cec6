#include "cli/device_argument.h"

namespace {

// "e", "e:" and "E:" as "E:"; anything else unchanged.
std::string AsDriveLetterName(const std::string& argument) {
    const bool letterForm =
        (argument.size() == 1 || (argument.size() == 2 && argument[1] == ':')) &&
        ((argument[0] >= 'a' && argument[0] <= 'z') || (argument[0] >= 'A' && argument[0] <= 'Z'));
    if (!letterForm) {
        return argument;
    }
    const char letter =
        argument[0] >= 'a' ? static_cast<char>(argument[0] - 'a' + 'A') : argument[0];
    return std::string{letter, ':'};
}

}  // namespace

const DriveCandidate* FindDeviceCandidate(const std::vector<DriveCandidate>& candidates,
                                          const std::string& argument) {
    const std::string letterName = AsDriveLetterName(argument);
    for (const DriveCandidate& candidate : candidates) {
        if (candidate.name == argument || candidate.devicePath == argument ||
            candidate.name == letterName) {
            return &candidate;
        }
    }
    return nullptr;
}
