// The optical drives sysfs lists (platform/sysfs_optical_drives.h decides which count), each
// with its nodes and its chain.
#include <cctype>

#include "platform/device_node_facts.h"
#include "platform/optical_drive_facts.h"
#include "platform/sysfs_device_chain.h"
#include "platform/sysfs_optical_drives.h"

namespace {

constexpr char kDevPrefix[] = "/dev/";

std::string WithoutTrailingSlashes(std::string root) {
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

bool IsGenericNodeName(const std::string& name) {
    return name.size() > 2 && name.compare(0, 2, "sg") == 0 &&
           std::isdigit(static_cast<unsigned char>(name[2])) != 0;
}

}  // namespace

std::vector<std::string> ListedOpticalDriveNames(const std::string& root) {
    std::vector<std::string> names;
    for (const DriveCandidate& drive : ListOpticalDrives(root)) {
        names.push_back(drive.name);
    }
    return names;
}

OpticalDriveFacts DescribeOpticalDrive(const std::string& root, const std::string& name,
                                       bool listed) {
    const std::string base = WithoutTrailingSlashes(root);
    OpticalDriveFacts facts;
    facts.name = name;
    facts.source = DriveFactsSource::kSysfs;
    facts.listed = listed;
    if (name.compare(0, sizeof kDevPrefix - 1, kDevPrefix) != 0) {
        return facts;  // not a node name: nothing in sysfs to read
    }
    const std::string kernelName = name.substr(sizeof kDevPrefix - 1);
    const std::string blockDirectory = base + "/sys/class/block/" + kernelName;
    facts.nodes.push_back(DescribeDeviceNode(name, base + name, DeviceNodeKind::kBlock));
    for (const std::string& entry :
         SysfsDirectoryEntries(blockDirectory + "/device/scsi_generic")) {
        if (IsGenericNodeName(entry)) {
            const std::string node = kDevPrefix + entry;
            facts.nodes.push_back(DescribeDeviceNode(node, base + node, DeviceNodeKind::kGeneric));
        }
    }
    ReadSysfsDeviceChain(blockDirectory, facts);
    return facts;
}
