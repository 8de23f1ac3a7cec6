// The words for what the system refuses, which differ by platform: the Windows program keeps its
// long-standing texts; on Linux the user is told which node it was, what right is missing and how
// to get it. The program picks one at start (app/) and hands it to its front end.
#pragma once

#include "drive/drive_discovery.h"
#include "platform/drive_candidates.h"
#include "settings/user_message.h"

class AccessMessages {
public:
    virtual ~AccessMessages() = default;
    // The device could not be opened; osError is the system's reason.
    virtual UserMessage OpenFailed(const DriveCandidate& device, int osError) const = 0;
    // The system refused a write to the device for want of rights: a string id to alert once and
    // end the apply, or kGoOnAsBefore (SettingsFrontEnd::OnWriteRefused).
    virtual int WriteRefused(const DriveCandidate& device, int osError) const = 0;
    // Discovery listed no drive.
    virtual UserMessage NoDriveListed(const DiscoveryReport& discovery) const = 0;
};

// The Windows program's words: "device open failed", "Target is not found", and a refused write
// treated as any unconfirmed one.
const AccessMessages& ClassicAccessMessages();
