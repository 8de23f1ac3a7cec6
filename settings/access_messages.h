// The words for what the system refuses, which differ by platform: the Windows program keeps its
// long-standing texts; on Linux the user is told which node it was, what stands in the way and
// what to do. The program picks one at start (app/) and hands it to its front end.
#pragma once

#include "drive/drive_discovery.h"
#include "platform/drive_candidates.h"
#include "settings/drive_write_access.h"
#include "settings/user_message.h"

class AccessMessages {
public:
    virtual ~AccessMessages() = default;
    // The device could not be opened; osError is the system's reason.
    virtual UserMessage OpenFailed(const DriveCandidate& device, int osError) const = 0;
    // The system refused a write to the device for want of rights: a string id to alert once and
    // end the apply, or kGoOnAsBefore (SettingsFrontEnd::OnWriteRefused). The alert's text may
    // name the device's node with its "%s".
    virtual int WriteRefused(const DriveCandidate& device, int osError) const = 0;
    // Discovery listed no drive.
    virtual UserMessage NoDriveListed(const DiscoveryReport& discovery) const = 0;
    // A device discovery could not open while it listed other drives: the line that names it and
    // says what to do, or a message with string id 0 when nothing is to be said.
    virtual UserMessage NotListed(const UnopenedDevice& device) const = 0;
    // The drive could not be had to ourselves for an apply (DriveWriteAccess); nothing was sent.
    virtual UserMessage WriteAccessRefused(const DriveCandidate& device,
                                           const WriteAccess& access) const = 0;
    // The system said the drive is no longer there.
    virtual UserMessage DriveGone(const DriveCandidate& device) const = 0;
    // Whether a drive the system says is gone ends an operation at its first failed command
    // (DriveState::endOnGoneDrive), or the usual retries and alerts answer it.
    virtual bool EndsOperationOnGoneDrive() const = 0;
};

// The Windows program's words: "device open failed", "Target is not found", a refused write
// treated as any unconfirmed one, a device discovery could not open left out in silence, and a
// drive gone answered by the usual retries.
const AccessMessages& ClassicAccessMessages();
