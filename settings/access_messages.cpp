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
};

}  // namespace

const AccessMessages& ClassicAccessMessages() {
    static const ClassicMessages messages;
    return messages;
}
