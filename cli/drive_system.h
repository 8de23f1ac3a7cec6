// The drives one run of velmora-drive can reach: a pass-through transport and the devices where a
// drive may be, in the order they are tried. The program's entry point gives the system's
// (or, with --demo, the demo's simulated drives; with --replay FILE, the drives a diagnostic
// report recorded); tests give simulated drives of their own.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/drive_claim.h"
#include "platform/drive_names.h"
#include "platform/scsi_transport.h"

class DriveSystem {
public:
    virtual ~DriveSystem() = default;
    virtual ScsiTransport& Transport() = 0;
    virtual std::vector<DriveCandidate> Candidates() = 0;
    // The drive-access mutex a run holds while it works on a drive: the one the window takes too.
    virtual std::unique_ptr<DriveAccessMutex> AccessMutex() {
        return CreateDriveAccessMutex(kDriveAccessMutexName);
    }
    // The names that stay with a drive, for scripts (platform/drive_names.h); none by default.
    virtual DriveNames NamesOf(const DriveCandidate& /*drive*/) { return DriveNames{}; }
    // The drive's lock and exclusive claim a set or restore takes (on Linux on the drive's block
    // node; a drive without one, as the demo's, holds nothing).
    virtual DriveClaims& Claims() { return SystemDriveClaims(); }
    // Why these drives cannot be used (a report to replay that cannot be read, in English); empty
    // when they can.
    virtual std::string Problem() const { return {}; }
};

// Which drives a run uses: the system's, the demo's simulated ones, or those a report recorded.
struct DriveSource {
    bool demo = false;
    std::string replayFile;  // not empty: replay this diagnostic report
};

// Makes the drive system for a run. Null when it cannot.
using DriveSystemFactory = std::function<std::unique_ptr<DriveSystem>(const DriveSource& source)>;
