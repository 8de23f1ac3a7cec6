#include "app/linux_access_messages.h"

#include "drive/permission_refusal.h"
#include "res/resource_ids.h"
#include "settings/settings_front_end.h"

namespace {

class LinuxMessages : public AccessMessages {
public:
    UserMessage OpenFailed(const DriveCandidate& device, int osError) const override {
        if (IsPermissionError(osError)) {
            return UserMessage{IDS_NODE_ACCESS_DENIED, device.devicePath};
        }
        return UserMessage{IDS_OPEN_FAILED, {}};
    }

    // Only the block node's command filter is answered here; a refusal anywhere else is left to
    // the usual retries and alert.
    int WriteRefused(const DriveCandidate& device, int osError) const override {
        return device.throughBlockNode && IsPermissionError(osError) ? IDS_WRITE_NEEDS_SG
                                                                     : kGoOnAsBefore;
    }

    UserMessage NoDriveListed(const DiscoveryReport& discovery) const override {
        if (discovery.deniedError != 0) {
            return UserMessage{IDS_NODE_ACCESS_DENIED, discovery.deniedDevice.devicePath};
        }
        return UserMessage{
            discovery.candidates == 0 ? IDS_NO_OPTICAL_DRIVE : IDS_NO_SUPPORTED_DRIVE, {}};
    }
};

}  // namespace

const AccessMessages& LinuxAccessMessages() {
    static const LinuxMessages messages;
    return messages;
}
