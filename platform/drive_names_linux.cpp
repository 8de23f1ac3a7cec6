// A drive's lasting names from sysfs and udev's links. Only look-ups that open no device are made
// (opendir, readlink, access, stat), and only those the SG_IO preload library of sim/ moves into a
// test's fake tree.
#include <limits.h>
#include <unistd.h>

#include <algorithm>

#include "platform/device_node.h"
#include "platform/drive_names.h"
#include "platform/sysfs_device_chain.h"
#include "platform/sysfs_optical_drives.h"

namespace {

constexpr char kClassBlock[] = "/sys/class/block/";
constexpr char kById[] = "/dev/disk/by-id/";
constexpr char kBlockNodePrefix[] = "/dev/sr";
constexpr int kLinkHops = 8;

std::string WithoutTrailingSlashes(std::string root) {
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

// An absolute path with its "." and ".." parts and repeated slashes taken out.
std::string Normalized(const std::string& path) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) {
                parts.pop_back();
            }
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string normalized;
    for (const std::string& part : parts) {
        normalized += "/" + part;
    }
    return normalized.empty() ? "/" : normalized;
}

// The path with no link left in its last part: sysfs names a block device by a link from
// /sys/class/block into /sys/devices. systemPath is how the system names it, base its root.
std::string Resolved(std::string systemPath, const std::string& base) {
    for (int hop = 0; hop < kLinkHops; ++hop) {
        char target[PATH_MAX];
        const ssize_t length = readlink((base + systemPath).c_str(), target, sizeof target - 1);
        if (length <= 0) {
            break;
        }
        const std::string link(target, static_cast<size_t>(length));
        const std::string folder = systemPath.substr(0, systemPath.rfind('/') + 1);
        systemPath = Normalized(link.front() == '/' ? link : folder + link);
    }
    return systemPath;
}

}  // namespace

DriveNames ReadDriveNames(const DriveCandidate& drive, const std::string& root) {
    DriveNames names;
    if (drive.name.rfind(kBlockNodePrefix, 0) != 0) {
        return names;
    }
    const std::string base = WithoutTrailingSlashes(root);
    const std::string kernelName = drive.name.substr(sizeof "/dev/" - 1);
    const std::string classEntry = kClassBlock + kernelName;
    if (access((base + classEntry).c_str(), F_OK) != 0) {
        return names;
    }
    names.sysfsPath = Resolved(classEntry, base);
    names.scsiAddress = ScsiAddressOf(base + classEntry);
    const DeviceNode blockNode = LookUpDeviceNode(base + drive.name);
    for (const std::string& entry : SysfsDirectoryEntries(base + kById)) {
        if (LookUpDeviceNode(base + kById + entry).SameAs(blockNode)) {
            names.byId.push_back(kById + entry);
        }
    }
    return names;
}
