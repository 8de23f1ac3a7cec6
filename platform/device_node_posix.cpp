// stat() follows the links and opens nothing: a device node looked up here is never opened.
#include <sys/stat.h>

#include "platform/device_node.h"

DeviceNode LookUpDeviceNode(const std::string& path) {
    struct stat status {};
    DeviceNode node;
    if (path.empty() || stat(path.c_str(), &status) != 0) {
        return node;
    }
    node.found = true;
    node.blockDevice = S_ISBLK(status.st_mode);
    node.characterDevice = S_ISCHR(status.st_mode);
    node.deviceNumber = node.blockDevice || node.characterDevice ? status.st_rdev : 0;
    node.fileSystem = status.st_dev;
    node.inode = status.st_ino;
    return node;
}
