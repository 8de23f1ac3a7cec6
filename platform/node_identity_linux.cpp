// The descriptor's own file type and device number, and sysfs for that number: nothing here
// opens the node again or sends it a command. Only calls the SG_IO preload library of sim/ answers
// for its fake nodes are used: fstat, and opendir/open on sysfs paths.
#include "platform/node_identity.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "platform/sysfs_optical_drives.h"

namespace {

std::string WithoutTrailingSlashes(std::string root) {
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

}  // namespace

NodeCheck CheckOpenNode(int descriptor, const DriveCandidate& listed, const std::string& root) {
    if (listed.nodeNumber.empty() || listed.scsiAddress.empty()) {
        return NodeCheck::kNothingToCheck;
    }
    struct stat status {};
    if (fstat(descriptor, &status) != 0) {
        return NodeCheck::kOtherDevice;
    }
    const bool wantedKind =
        listed.throughBlockNode ? S_ISBLK(status.st_mode) : S_ISCHR(status.st_mode);
    const std::string number =
        std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev));
    if (!wantedKind || number != listed.nodeNumber) {
        return NodeCheck::kOtherDevice;
    }
    const std::string kind = listed.throughBlockNode ? "block" : "char";
    const std::string device = WithoutTrailingSlashes(root) + "/sys/dev/" + kind + "/" + number;
    return ScsiAddressOf(device) == listed.scsiAddress ? NodeCheck::kSameDevice
                                                       : NodeCheck::kOtherDevice;
}
