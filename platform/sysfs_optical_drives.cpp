// Finding the optical drives through sysfs, and choosing the node each is opened through.
//
// The SCSI generic node is preferred because of how the kernel filters SG_IO (read in Linux 6.x
// sources, v6.5 or later: scsi_cmd_allowed() takes a bool; the sg driver's check is older):
// - drivers/scsi/sg.c, sg_ioctl_common(), case SG_IO: computes
//   read_only = (O_RDWR != (filp->f_flags & O_ACCMODE)) and hands it to sg_new_write(), which
//   returns -EPERM only "if (read_only && sg_allow_access(file, cmnd))". sg_allow_access() is the
//   one caller of scsi_cmd_allowed(cmd, filp->f_mode & FMODE_WRITE); sg_open() checks no command.
//   On an sg node opened O_RDWR no command is filtered: whoever may open the node (udev gives
//   optical sg nodes to the cdrom group and the seated user) may send WRITE BUFFER.
// - drivers/scsi/scsi_ioctl.c, scsi_fill_sghdr_rq(), reached by SG_IO on the block node /dev/srN
//   through sg_io(): returns -EPERM unless scsi_cmd_allowed(scmd->cmnd, open_for_write).
//   scsi_cmd_allowed() passes everything with CAP_SYS_RAWIO, otherwise its read-safe list
//   (READ_BUFFER, INQUIRY, TEST_UNIT_READY, START_STOP, the disc-status reads) and, for a writable
//   open, its write list. WRITE_BUFFER (0x3B) is on neither list: EPERM for an ordinary user.
//   The same function raises any timeout below BLK_MIN_SG_TIMEOUT (7 * HZ) to 7 s.
// Each drive keeps the identity sysfs gives it here (its SCSI device's address H:C:T:L in
// device/scsi_device/, and the `dev` numbers of its nodes): a later open of the same path is
// confirmed against it (platform/node_identity.h), since the kernel hands a freed sr or sg number
// to the next device plugged in.
// Only the calls the SG_IO preload library of sim/ redirects are used here: opendir, open and
// access.
#include "platform/sysfs_optical_drives.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

constexpr char kClassBlock[] = "/sys/class/block";
constexpr char kOpticalDeviceType[] = "5";  // SCSI peripheral device type: CD/DVD
constexpr size_t kSmallFileLimit = 64;

// The number of a kernel name such as "sr12" with the given prefix; -1 for any other name.
int NodeNumber(const std::string& name, const std::string& prefix) {
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
        name.size() > prefix.size() + 6) {
        return -1;
    }
    int number = 0;
    for (size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            return -1;
        }
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

std::vector<std::string> DirectoryEntries(const std::string& path) {
    std::vector<std::string> names;
    DIR* directory = opendir(path.c_str());
    if (directory == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(directory)) {
        names.emplace_back(entry->d_name);
    }
    closedir(directory);
    return names;
}

// The first line of a small sysfs attribute, without surrounding white space; empty when it
// cannot be read.
std::string ReadAttribute(const std::string& path) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::string();
    }
    char buffer[kSmallFileLimit] = {};
    const ssize_t length = read(descriptor, buffer, sizeof buffer - 1);
    close(descriptor);
    std::string text(buffer, length > 0 ? static_cast<size_t>(length) : 0);
    text = text.substr(0, text.find('\n'));
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    return text;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// The sg node's name ("sg1") of a block device's SCSI device, when the sg module has made one and
// /dev has it; empty otherwise.
std::string GenericNodeName(const std::string& root, const std::string& blockDirectory) {
    for (const std::string& name : DirectoryEntries(blockDirectory + "/device/scsi_generic")) {
        if (NodeNumber(name, "sg") >= 0 && Exists(root + "/dev/" + name)) {
            return name;
        }
    }
    return std::string();
}

// "H:C:T:L": four decimal numbers joined by colons, as sysfs names a SCSI device.
bool IsScsiAddress(const std::string& name) {
    int numbers = 0;
    bool inNumber = false;
    for (char c : name) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            numbers += inNumber ? 0 : 1;
            inNumber = true;
        } else if (c == ':' && inNumber) {
            inNumber = false;
        } else {
            return false;
        }
    }
    return numbers == 4 && inNumber;
}

// Paths under root; the system's root adds nothing, so its paths keep their usual spelling.
std::string WithoutTrailingSlashes(std::string root) {
    while (!root.empty() && root.back() == '/') {
        root.pop_back();
    }
    return root;
}

}  // namespace

std::string ScsiAddressOf(const std::string& deviceDirectory) {
    for (const std::string& name : DirectoryEntries(deviceDirectory + "/device/scsi_device")) {
        if (IsScsiAddress(name)) {
            return name;
        }
    }
    return std::string();
}

std::string DeviceNumberOf(const std::string& deviceDirectory) {
    return ReadAttribute(deviceDirectory + "/dev");
}

std::vector<DriveCandidate> ListOpticalDrives(const std::string& root) {
    const std::string base = WithoutTrailingSlashes(root);
    std::vector<std::pair<int, DriveCandidate>> found;
    for (const std::string& name : DirectoryEntries(base + kClassBlock)) {
        const int number = NodeNumber(name, "sr");
        const std::string directory = base + kClassBlock + "/" + name;
        if (number < 0 || ReadAttribute(directory + "/device/type") != kOpticalDeviceType) {
            continue;
        }
        DriveCandidate candidate;
        candidate.opticalDrive = true;
        candidate.name = "/dev/" + name;
        candidate.blockNode = candidate.name;
        candidate.blockNumber = DeviceNumberOf(directory);
        candidate.scsiAddress = ScsiAddressOf(directory);
        const std::string generic = GenericNodeName(base, directory);
        if (generic.empty()) {
            candidate.devicePath = candidate.name;
            candidate.throughBlockNode = true;
            candidate.nodeNumber = candidate.blockNumber;
        } else {
            candidate.devicePath = "/dev/" + generic;
            candidate.nodeNumber = DeviceNumberOf(directory + "/device/scsi_generic/" + generic);
        }
        found.emplace_back(number, candidate);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<DriveCandidate> drives;
    for (auto& [number, candidate] : found) {
        drives.push_back(std::move(candidate));
    }
    return drives;
}
