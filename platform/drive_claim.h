// Keeping other writers off a drive while an operation changes its settings: a lock that our
// programs share, and an exclusive claim that the system refuses while a disc is mounted or
// another program holds the drive for itself (a burning program). On Linux both are taken on the
// drive's block node /dev/srN; on Windows the window's named mutex "mutex" serves, and these hold
// nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

enum class HoldOutcome {
    kHeld,    // taken (or nothing needed taking on this system)
    kBusy,    // someone else has it: our lock past the wait, or the claim (EBUSY)
    kFailed,  // the node could not be opened (osError says why)
};

// Something held on a drive until it is destroyed.
class DriveHold {
public:
    virtual ~DriveHold() = default;
};

struct HoldResult {
    HoldOutcome outcome = HoldOutcome::kFailed;
    int osError = 0;                  // the system's reason for kBusy and kFailed
    std::unique_ptr<DriveHold> hold;  // with kHeld: released when destroyed; may be none
};

// The lock a reader takes for a moment and never waits for: the media watcher's poll.
class DriveReadLock {
public:
    virtual ~DriveReadLock() = default;
    // False at once when a writer holds the drive.
    virtual bool TryHold() = 0;
    virtual void Release() = 0;
};

class DriveClaims {
public:
    virtual ~DriveClaims() = default;

    // The lock our programs take for writing the drive whose block node this is; waits at most
    // waitMs for another writer to let go, then says kBusy. An empty node, or one the system does
    // not have, holds nothing: kHeld.
    virtual HoldResult LockForWriting(const std::string& blockNode, uint32_t waitMs) = 0;

    // The drive claimed for this process alone, without waiting: kBusy while its disc is mounted
    // or another program holds it exclusively. An empty or absent node holds nothing: kHeld.
    virtual HoldResult ClaimExclusively(const std::string& blockNode) = 0;

    // The reader's lock of the drive, open until destroyed; nullptr when there is nothing to lock
    // (no node, or it cannot be opened): the reader then goes on without it.
    virtual std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& blockNode) = 0;

    // Where the block device with this number ("11:0") is mounted, as the system's mount table
    // says; empty when it is not mounted or the table cannot be read.
    virtual std::string MountPointOf(const std::string& deviceNumber) = 0;
};

// The system's: flock and O_EXCL on Linux, nothing on Windows.
DriveClaims& SystemDriveClaims();

// The first mount point of the device number in a mount table in the format of
// /proc/self/mountinfo (field 3 the number, field 5 the mount point, octal escapes such as \040
// undone); empty when the table does not name it.
std::string MountPointIn(const std::string& mountInfo, const std::string& deviceNumber);
