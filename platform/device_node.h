// What a path leads to, looked up without opening anything (stat, through symbolic links), so that
// a drive named by another path (/dev/cdrom, a /dev/disk/by-id link, a node made elsewhere) can be
// matched against the drives listed before any device is opened. On Windows drives are named by
// their letters: no path is looked up and nothing is found.
#pragma once

#include <cstdint>
#include <string>

struct DeviceNode {
    bool found = false;
    bool blockDevice = false;
    bool characterDevice = false;
    uint64_t deviceNumber = 0;  // of a block or character device
    uint64_t fileSystem = 0;    // the file's own identity: its file system and inode
    uint64_t inode = 0;

    // The same node: the same file, or device files of the same kind with the same number.
    bool SameAs(const DeviceNode& other) const {
        if (!found || !other.found) {
            return false;
        }
        const bool sameFile = fileSystem == other.fileSystem && inode == other.inode;
        const bool sameDevice =
            deviceNumber == other.deviceNumber &&
            ((blockDevice && other.blockDevice) || (characterDevice && other.characterDevice));
        return sameFile || sameDevice;
    }
};

DeviceNode LookUpDeviceNode(const std::string& path);
