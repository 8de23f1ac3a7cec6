#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/device_node_facts.h"

namespace {

std::string OwnerName(uid_t id) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->pw_name;
    }
    return std::to_string(id);
}

std::string GroupNameOf(gid_t id) {
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(16384);
    if (getgrgid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        return found->gr_name;
    }
    return std::to_string(id);
}

bool UserIsInGroup(gid_t id) {
    if (id == getegid()) {
        return true;
    }
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? static_cast<size_t>(count) : 0);
    const int got = count > 0 ? getgroups(count, groups.data()) : 0;
    groups.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return std::find(groups.begin(), groups.end(), id) != groups.end();
}

const char* TypeOf(mode_t mode) {
    if (S_ISCHR(mode)) {
        return "character";
    }
    if (S_ISBLK(mode)) {
        return "block";
    }
    return S_ISREG(mode) ? "file" : "other";
}

// The node's status through a descriptor that opens nothing behind it.
int StatWithoutOpening(const std::string& path, struct stat& status) {
    const int descriptor = open(path.c_str(), O_PATH | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    const int result = fstat(descriptor, &status) == 0 ? 0 : errno;
    close(descriptor);
    return result;
}

}  // namespace

DeviceNodeFacts DescribeDeviceNode(const std::string& path, const std::string& lookupPath,
                                   DeviceNodeKind kind) {
    DeviceNodeFacts node;
    node.path = path;
    node.kind = kind;
    struct stat status {};
    node.statError = StatWithoutOpening(lookupPath, status);
    if (node.statError != 0) {
        return node;
    }
    node.present = true;
    node.type = TypeOf(status.st_mode);
    node.owner = OwnerName(status.st_uid);
    node.group = GroupNameOf(status.st_gid);
    node.mode = static_cast<uint32_t>(status.st_mode & 07777);
    node.userInGroup = UserIsInGroup(status.st_gid);
    node.readWrite = access(lookupPath.c_str(), R_OK | W_OK) == 0;
    node.accessError = node.readWrite ? 0 : errno;
    return node;
}
