// Having the drive to ourselves for the length of one operation that writes it (Apply, Restore
// Factory Default, and the command line's set and restore): first the lock our programs share,
// waited for a bounded time, so that two of them never interleave their commands; then the
// system's exclusive claim, so that a mounted disc or another program's burn makes the operation
// refuse rather than stop that disc. Both are held until the last read-back and given up in the
// opposite order. On Linux both are taken on the drive's block node (platform/drive_claim.h); on
// Windows, and for a device without a block node, there is nothing to take and access is granted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/drive_candidates.h"
#include "platform/drive_claim.h"

constexpr uint32_t kDriveLockWaitMs = 10000;  // how long a second writer waits for the first

enum class WriteAccessOutcome {
    kGranted,    // the drive is ours for the operation (or there was nothing to take)
    kBusy,       // another of our programs kept the drive's lock for the whole wait
    kInUse,      // the system refused the exclusive claim: a mounted disc, or another program
    kNotOpened,  // the block node could not be opened (osError says why)
};

struct WriteAccess {
    WriteAccessOutcome outcome = WriteAccessOutcome::kGranted;
    int osError = 0;
    std::string mountPoint;  // kInUse: where the drive's disc is mounted, when the system says
};

class DriveWriteAccess {
public:
    DriveWriteAccess(DriveClaims& claims, const DriveCandidate& drive,
                     uint32_t lockWaitMs = kDriveLockWaitMs)
        : claims_(claims), drive_(drive), lockWaitMs_(lockWaitMs) {}

    // Before the disc probe: the lock, waiting at most the bound for another writer. Granted at
    // once while this object holds it already (a front end that took it before the apply).
    WriteAccess Lock();
    // Before the first command that can change the drive's state (START STOP UNIT, WRITE BUFFER).
    WriteAccess Claim();
    // After the last read-back: the claim, then the lock. Also done on destruction.
    void Release();

    const DriveCandidate& Drive() const { return drive_; }

private:
    DriveClaims& claims_;
    const DriveCandidate drive_;
    const uint32_t lockWaitMs_;
    std::unique_ptr<DriveHold> lock_;
    std::unique_ptr<DriveHold> claim_;
    bool locked_ = false;
};
