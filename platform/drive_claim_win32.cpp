// On Windows the window takes the named mutex "mutex" for each command and across an Apply; a
// drive letter has no lock or claim of ours beyond it, so these hold nothing.
#include "platform/drive_claim.h"

namespace {

HoldResult NothingToHold() {
    HoldResult result;
    result.outcome = HoldOutcome::kHeld;
    return result;
}

class NoDriveClaims : public DriveClaims {
public:
    HoldResult LockForWriting(const std::string& /*blockNode*/, uint32_t /*waitMs*/) override {
        return NothingToHold();
    }
    HoldResult ClaimExclusively(const std::string& /*blockNode*/) override {
        return NothingToHold();
    }
    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& /*blockNode*/) override {
        return nullptr;
    }
    std::string MountPointOf(const std::string& /*deviceNumber*/) override { return std::string(); }
};

}  // namespace

DriveClaims& SystemDriveClaims() {
    static NoDriveClaims claims;
    return claims;
}
