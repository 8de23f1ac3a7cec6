#include "cli/device_argument.h"

#include "platform/device_node.h"

namespace {

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "e", "e:", "E:", "E:\" and "E:/" as "E:"; anything else unchanged.
std::string AsDriveLetterName(const std::string& argument) {
    const bool separator = argument.size() == 3 && (argument[2] == '\\' || argument[2] == '/');
    const bool letterForm = !argument.empty() && IsLetter(argument[0]) &&
                            (argument.size() == 1 || (argument.size() >= 2 && argument[1] == ':' &&
                                                      (argument.size() == 2 || separator)));
    if (!letterForm) {
        return argument;
    }
    const char letter =
        argument[0] >= 'a' ? static_cast<char>(argument[0] - 'a' + 'A') : argument[0];
    return std::string{letter, ':'};
}

// An absolute path as the system would take it, spelled without repeated slashes, "." parts or a
// trailing slash ("//dev/sr0/" is "/dev/sr0"); anything else unchanged. ".." stays: the part
// before it may be a link.
std::string PlainPath(const std::string& argument) {
    if (argument.empty() || argument[0] != '/') {
        return argument;
    }
    std::string path;
    size_t start = 0;
    while (start < argument.size()) {
        size_t end = argument.find('/', start);
        end = end == std::string::npos ? argument.size() : end;
        const std::string part = argument.substr(start, end - start);
        if (!part.empty() && part != ".") {
            path += "/" + part;
        }
        start = end + 1;
    }
    return path.empty() ? "/" : path;
}

std::string Spelled(const std::string& argument) {
    const std::string letterName = AsDriveLetterName(argument);
    return letterName != argument ? letterName : PlainPath(argument);
}

bool NamedAs(const DriveCandidate& candidate, const std::string& name) {
    return candidate.name == name || candidate.devicePath == name;
}

// The candidate whose listed name or node is the node the argument leads to.
const DriveCandidate* SameNode(const std::vector<DriveCandidate>& candidates,
                               const std::string& argument) {
    const DeviceNode named = LookUpDeviceNode(argument);
    if (!named.found) {
        return nullptr;
    }
    for (const DriveCandidate& candidate : candidates) {
        if (LookUpDeviceNode(candidate.name).SameAs(named) ||
            LookUpDeviceNode(candidate.devicePath).SameAs(named)) {
            return &candidate;
        }
    }
    return nullptr;
}

}  // namespace

const DriveCandidate* FindDeviceCandidate(const std::vector<DriveCandidate>& candidates,
                                          const std::string& argument) {
    const std::string spelled = Spelled(argument);
    for (const DriveCandidate& candidate : candidates) {
        if (NamedAs(candidate, argument) || NamedAs(candidate, spelled)) {
            return &candidate;
        }
    }
    return SameNode(candidates, spelled);
}

bool NamesSomethingPresent(const std::string& argument) {
    return LookUpDeviceNode(Spelled(argument)).found;
}
