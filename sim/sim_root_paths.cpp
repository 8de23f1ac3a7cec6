#include "sim/sim_root_paths.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kClassBlock[] = "/sys/class/block";
constexpr char kDevChar[] = "/sys/dev/char";
constexpr char kDevBlock[] = "/sys/dev/block";
constexpr char kDev[] = "/dev/";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The directory itself or anything below it: "/sys/class/block/sr0", not "/sys/class/blockx".
bool Under(const char* path, const char* directory) {
    const size_t length = std::strlen(directory);
    return std::strncmp(path, directory, length) == 0 &&
           (path[length] == '\0' || path[length] == '/');
}

bool Moves(const char* path) {
    return Under(path, kClassBlock) || Under(path, kDevChar) || Under(path, kDevBlock) ||
           std::strcmp(path, kMountTablePath) == 0 || DeviceNodeName(path) != nullptr;
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
    if (!Moves(path)) {
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
