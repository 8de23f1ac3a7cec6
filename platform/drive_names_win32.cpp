#include "platform/drive_names.h"

DriveNames ReadDriveNames(const DriveCandidate& /*drive*/, const std::string& /*root*/) {
    return DriveNames{};
}
