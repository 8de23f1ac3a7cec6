// The running Linux system for a diagnostic report: /etc/os-release (os-release(5), with
// /usr/lib/os-release as its fallback), uname() without the node name, the user's name and
// groups, and whether the sg module is there (/sys/module/sg, also for an sg built into the
// kernel, which has parameters and so a directory there).
#include <grp.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <vector>

#include "platform/system_description.h"

namespace {

// A value of os-release as a shell reads it: quotes removed, and within double quotes the
// backslash escapes of ", \, $ and ` undone.
std::string Unquoted(const std::string& value) {
    if (value.size() < 2 || (value.front() != '"' && value.front() != '\'') ||
        value.back() != value.front()) {
        return value;
    }
    const std::string inner = value.substr(1, value.size() - 2);
    if (value.front() == '\'') {
        return inner;
    }
    std::string text;
    for (size_t i = 0; i < inner.size(); ++i) {
        if (inner[i] == '\\' && i + 1 < inner.size()) {
            ++i;
        }
        text += inner[i];
    }
    return text;
}

std::map<std::string, std::string> ReadOsRelease(const std::string& base) {
    std::map<std::string, std::string> values;
    std::ifstream file(base + "/etc/os-release");
    if (!file) {
        file.open(base + "/usr/lib/os-release");
    }
    for (std::string line; std::getline(file, line);) {
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos) {
            continue;
        }
        std::string value = line.substr(equals + 1);
        value.erase(value.find_last_not_of(" \t\r") + 1);
        values[line.substr(0, equals)] = Unquoted(value);
    }
    return values;
}

OperatingSystemName OsRelease(const std::string& base) {
    std::map<std::string, std::string> values = ReadOsRelease(base);
    OperatingSystemName os;
    os.name = values.count("NAME") != 0 ? values["NAME"] : "Linux";  // os-release's default
    os.version = values["VERSION"];
    os.id = values.count("ID") != 0 ? values["ID"] : "linux";
    os.versionId = values["VERSION_ID"];
    os.prettyName = values["PRETTY_NAME"];
    return os;
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

std::vector<GroupName> UserGroups() {
    std::vector<gid_t> ids{getegid()};
    const int count = getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> more(static_cast<size_t>(count));
        const int got = getgroups(count, more.data());
        more.resize(got > 0 ? static_cast<size_t>(got) : 0);
        for (gid_t id : more) {
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) {
                ids.push_back(id);
            }
        }
    }
    std::vector<GroupName> groups;
    for (gid_t id : ids) {
        groups.push_back(GroupName{static_cast<uint32_t>(id), GroupNameOf(id)});
    }
    return groups;
}

void DescribeUser(SystemDescription& system) {
    const uid_t id = getuid();
    system.userId = static_cast<int64_t>(id);
    system.userName = std::to_string(id);
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(id, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
        system.userName = found->pw_name;
        system.homeFolder = found->pw_dir != nullptr ? found->pw_dir : "";
    }
    if (const char* home = std::getenv("HOME")) {
        system.homeFolder = home;
    }
    system.groups = UserGroups();
}

std::string WithoutTrailingSlashes(std::string root) {
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

}  // namespace

SystemDescription DescribeSystem(const std::string& root) {
    const std::string base = WithoutTrailingSlashes(root);
    SystemDescription system;
    system.os = OsRelease(base);
    utsname names{};
    if (uname(&names) == 0) {  // the node name (the host name) stays out
        system.kernel = KernelName{names.sysname, names.release, names.version};
        system.architecture = names.machine;
    }
    DescribeUser(system);
    system.sgModuleLoaded = access((base + "/sys/module/sg").c_str(), F_OK) == 0 ? 1 : 0;
    return system;
}
