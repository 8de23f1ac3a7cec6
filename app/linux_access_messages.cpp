#include "app/linux_access_messages.h"

#include <cerrno>

#include "drive/permission_refusal.h"
#include "res/resource_ids.h"
#include "settings/settings_front_end.h"

namespace {

// Why an open failed, in words that say what to do; 0 for a reason without words of its own.
int OpenFailureText(int osError) {
    if (IsPermissionError(osError)) {
        return IDS_NODE_ACCESS_DENIED;
    }
    switch (osError) {
        case EBUSY:
            return IDS_NODE_BUSY;  // another program holds the node exclusively, or a mount does
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return IDS_NODE_GONE;
        case EIO:
            return IDS_NODE_IO_ERROR;
        default:
            return 0;
    }
}

class LinuxMessages : public AccessMessages {
public:
    UserMessage OpenFailed(const DriveCandidate& device, int osError) const override {
        const int text = OpenFailureText(osError);
        return text != 0 ? UserMessage{text, device.devicePath} : UserMessage{IDS_OPEN_FAILED, {}};
    }

    // Only the block node's command filter is answered here; a refusal anywhere else is left to
    // the usual retries and alert. The alert names the node that refused.
    int WriteRefused(const DriveCandidate& device, int osError) const override {
        return device.throughBlockNode && IsPermissionError(osError) ? IDS_WRITE_REFUSED_ON_NODE
                                                                     : kGoOnAsBefore;
    }

    UserMessage NoDriveListed(const DiscoveryReport& discovery) const override {
        for (const UnopenedDevice& unopened : discovery.unopened) {
            const UserMessage named = NotListed(unopened);
            if (named.stringId != 0) {
                return named;
            }
        }
        // An optical drive that answered nothing of the maker's: most often an adapter's doing.
        for (const UnidentifiedDrive& drive : discovery.unidentified) {
            const bool cut = drive.problem == IdentificationProblem::kShortReply;
            return UserMessage{cut ? IDS_MODEL_REPLY_SHORT : IDS_IDENTIFICATION_NOT_ANSWERED,
                               drive.device.name};
        }
        return UserMessage{
            discovery.candidates == 0 ? IDS_NO_OPTICAL_DRIVE : IDS_NO_SUPPORTED_DRIVE, {}};
    }

    // A node the user may not open, or one another program holds: there may be a drive of ours
    // behind it, and the user can do something about it. A node that is simply not there is not.
    UserMessage NotListed(const UnopenedDevice& unopened) const override {
        const bool named = IsPermissionError(unopened.osError) || unopened.osError == EBUSY;
        return named ? OpenFailed(unopened.device, unopened.osError) : UserMessage{};
    }

    UserMessage WriteAccessRefused(const DriveCandidate& device,
                                   const WriteAccess& access) const override {
        switch (access.outcome) {
            case WriteAccessOutcome::kBusy:
                return UserMessage{IDS_DRIVE_LOCKED, device.blockNode};
            case WriteAccessOutcome::kInUse:
                return access.mountPoint.empty() ? UserMessage{IDS_DRIVE_IN_USE, device.blockNode}
                                                 : UserMessage{IDS_DISC_MOUNTED, access.mountPoint};
            case WriteAccessOutcome::kNotOpened: {
                DriveCandidate blockNode = device;
                blockNode.devicePath = device.blockNode;
                return OpenFailed(blockNode, access.osError);
            }
            case WriteAccessOutcome::kGranted:
                break;
        }
        return UserMessage{IDS_OPEN_FAILED, {}};
    }

    UserMessage DriveGone(const DriveCandidate& device) const override {
        return UserMessage{IDS_DRIVE_GONE, device.devicePath};
    }

    bool EndsOperationOnGoneDrive() const override { return true; }
};

}  // namespace

const AccessMessages& LinuxAccessMessages() {
    static const LinuxMessages messages;
    return messages;
}
