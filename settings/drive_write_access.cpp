#include "settings/drive_write_access.h"

namespace {

WriteAccess Refused(WriteAccessOutcome outcome, const HoldResult& result) {
    WriteAccess access;
    access.outcome = outcome;
    access.osError = result.osError;
    return access;
}

}  // namespace

WriteAccess DriveWriteAccess::Lock() {
    if (locked_) {
        return WriteAccess{};  // taken already, for a longer stretch than the apply
    }
    HoldResult locked = claims_.LockForWriting(drive_.blockNode, lockWaitMs_);
    switch (locked.outcome) {
        case HoldOutcome::kHeld:
            lock_ = std::move(locked.hold);
            locked_ = true;
            return WriteAccess{};
        case HoldOutcome::kBusy:
            return Refused(WriteAccessOutcome::kBusy, locked);
        case HoldOutcome::kFailed:
            break;
    }
    return Refused(WriteAccessOutcome::kNotOpened, locked);
}

WriteAccess DriveWriteAccess::Claim() {
    HoldResult claimed = claims_.ClaimExclusively(drive_.blockNode);
    switch (claimed.outcome) {
        case HoldOutcome::kHeld:
            claim_ = std::move(claimed.hold);
            return WriteAccess{};
        case HoldOutcome::kBusy: {
            WriteAccess access = Refused(WriteAccessOutcome::kInUse, claimed);
            access.mountPoint = claims_.MountPointOf(drive_.blockNumber);
            return access;
        }
        case HoldOutcome::kFailed:
            break;
    }
    return Refused(WriteAccessOutcome::kNotOpened, claimed);
}

void DriveWriteAccess::Release() {
    claim_.reset();
    lock_.reset();
    locked_ = false;
}
