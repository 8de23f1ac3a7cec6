#include "settings/access_messages.h"

#include "res/resource_ids.h"
#include "settings/settings_front_end.h"

namespace {

class ClassicMessages : public AccessMessages {
public:
    UserMessage OpenFailed(const DriveCandidate& /*device*/, int /*osError*/) const override {
        return UserMessage{IDS_OPEN_FAILED, {}};
    }
    int WriteRefused(const DriveCandidate& /*device*/, int /*osError*/) const override {
        return kGoOnAsBefore;
    }
    UserMessage NoDriveListed(const DiscoveryReport& /*discovery*/) const override {
        return UserMessage{IDS_TARGET_NOT_FOUND, {}};
    }
    UserMessage NotListed(const UnopenedDevice& /*device*/) const override { return {}; }
    // Windows holds nothing beyond its named mutex, so an apply is never refused this way.
    UserMessage WriteAccessRefused(const DriveCandidate& /*device*/,
                                   const WriteAccess& /*access*/) const override {
        return UserMessage{IDS_OPEN_FAILED, {}};
    }
    UserMessage DriveGone(const DriveCandidate& /*device*/) const override {
        return UserMessage{IDS_OPEN_FAILED, {}};
    }
    bool EndsOperationOnGoneDrive() const override { return false; }
};

}  // namespace

const AccessMessages& ClassicAccessMessages() {
    static const ClassicMessages messages;
    return messages;
}
