#include "sim/sim_root_paths.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kClassBlock[] = "/sys/class/block";
constexpr char kDev[] = "/dev/";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "/sys/class/block" itself or anything below it; not "/sys/class/blockx".
bool UnderClassBlock(const char* path) {
    const size_t length = sizeof kClassBlock - 1;
    return std::strncmp(path, kClassBlock, length) == 0 &&
           (path[length] == '\0' || path[length] == '/');
}

}  // namespace

const char* DeviceNodeName(const char* path) {
    if (path == nullptr || std::strncmp(path, kDev, sizeof kDev - 1) != 0) {
        return nullptr;
    }
    const char* name = path + sizeof kDev - 1;
    const bool generic = std::strncmp(name, "sg", 2) == 0;
    const bool block = std::strncmp(name, "sr", 2) == 0;
    if (!(generic || block) || !IsDigit(name[2])) {
        return nullptr;
    }
    for (const char* c = name + 2; *c != '\0'; ++c) {
        if (!IsDigit(*c)) {
            return nullptr;
        }
    }
    return name;
}

const char* PathUnderSimRoot(const char* root, const char* path, char* buffer, size_t size) {
    if (root == nullptr || *root == '\0' || path == nullptr) {
        return path;
    }
    if (!UnderClassBlock(path) && DeviceNodeName(path) == nullptr) {
        return path;
    }
    const int written = std::snprintf(buffer, size, "%s%s", root, path);
    return written >= 0 && static_cast<size_t>(written) < size ? buffer : nullptr;
}

const char* DevicePathUnderSimRoot(const char* root, const char* path, char* buffer, size_t size) {
    if (root == nullptr || *root == '\0' || path == nullptr ||
        std::strncmp(path, kDev, sizeof kDev - 1) != 0) {
        return path;
    }
    const int written = std::snprintf(buffer, size, "%s%s", root, path);
    return written >= 0 && static_cast<size_t>(written) < size ? buffer : nullptr;
}
