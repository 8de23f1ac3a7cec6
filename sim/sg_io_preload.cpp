// A library preloaded (LD_PRELOAD) so that a program talks to simulated drives through its real
// pass-through code: the Windows build under Wine, and the native Linux build.
//
// Under Wine (found by experiment with Wine 8.0): CreateFileA("\\.\E:") opens whatever the
// prefix's dosdevices/e:: symlink points at; a plain regular file is enough, Wine checks neither a
// device node nor a file type. DeviceIoControl(IOCTL_SCSI_PASS_THROUGH_DIRECT) (device type
// FILE_DEVICE_CONTROLLER) goes to Wine's CD-ROM ioctl code, which fstat()s the file for its cache
// only, requires Length == sizeof(SCSI_PASS_THROUGH_DIRECT) (56 on win64; 44 is refused and nothing
// is sent), and then calls ioctl(fd, SG_IO, &sg_io_hdr) from the program's own process with
// cmd_len = CdbLength, timeout = TimeOutValue * 1000 and the sense buffer of the record. It copies
// status and sb_len_wr back into the record; host and driver status are not reported.
//
// Native: with SIM_ROOT naming a fake tree, the program's lookups of /sys/class/block/...,
// /sys/dev/{char,block}/..., of the nodes /dev/sgN and /dev/srN and, when the tree has one, of
// /proc/self/mountinfo are moved into that tree (sim/sim_root_paths.h). The library replaces
// exactly the calls the program's drive listing, transport, identity check, lock and claim make on
// such paths: open (and open64), opendir and access; for the look-ups of a DEVICE argument and a
// drive's names, stat (stat64) and readlink, which also move any other /dev path the tree holds
// (/dev/cdrom, /dev/disk/by-id/...); and fstat (fstat64, __fxstat, __fxstat64) of
// a fake node, which is a regular file, answers a character device (sgN) or a block device (srN)
// with the device number the tree's sysfs `dev` attribute for that node gives. flock works on the
// node files as they are. A node's node-<node>.conf can make its opens, its O_EXCL opens or its
// SG_IO calls fail with an error number, and an srN node refuses what the kernel's block-node
// command filter refuses (sim/node_config_file.h).
//
// Either way this library replaces ioctl(): an SG_IO on a file that is one of the configured drive
// files or nodes (same device and inode) is answered by a SimulatedDrive held in this process;
// everything else goes to the real ioctl.
//
// Configuration: SIM_DRIVE_DIR names a directory with, per drive, drive-<key>.conf (the drive's
// set-up, sim/drive_config_file.h): the key is the letter X under Wine, with drive-X.dev the file
// the symlink points at; natively it is the block device's name srN, whose nodes are
// SIM_ROOT/dev/srN and the SIM_ROOT/dev/sgM that sysfs gives it. The library appends one line per
// command to trace-<key>.log (sim/command_trace.h), and one "system=ERRNO cdb=..." line per
// command it failed in the system's stead; it re-applies the live keys when drive-<key>.conf
// changes, and keeps the setting values in drive-<key>.state so that they survive the program's
// restart, as a drive's do. See sim/README.md.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <scsi/sg.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "sim/command_trace.h"
#include "sim/drive_config_file.h"
#include "sim/node_config_file.h"
#include "sim/sim_root_paths.h"
#include "sim/simulated_drive.h"

namespace {

using OpenFunction = int (*)(const char*, int, ...);
using OpendirFunction = DIR* (*)(const char*);
using AccessFunction = int (*)(const char*, int);
using IoctlFunction = int (*)(int, unsigned long, ...);
using FstatFunction = int (*)(int, struct stat*);
using Fstat64Function = int (*)(int, struct stat64*);
using FxstatFunction = int (*)(int, int, struct stat*);
using Fxstat64Function = int (*)(int, int, struct stat64*);

// The C library's own functions, looked up once.
OpenFunction RealOpen() {
    static const auto real = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "open"));
    return real;
}
OpenFunction RealOpen64() {
    static const auto real = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, "open64"));
    return real;
}
OpendirFunction RealOpendir() {
    static const auto real = reinterpret_cast<OpendirFunction>(dlsym(RTLD_NEXT, "opendir"));
    return real;
}
AccessFunction RealAccess() {
    static const auto real = reinterpret_cast<AccessFunction>(dlsym(RTLD_NEXT, "access"));
    return real;
}
IoctlFunction RealIoctl() {
    static const auto real = reinterpret_cast<IoctlFunction>(dlsym(RTLD_NEXT, "ioctl"));
    return real;
}
FstatFunction RealFstat() {
    static const auto real = reinterpret_cast<FstatFunction>(dlsym(RTLD_NEXT, "fstat"));
    return real;
}
Fstat64Function RealFstat64() {
    static const auto real = reinterpret_cast<Fstat64Function>(dlsym(RTLD_NEXT, "fstat64"));
    return real;
}
FxstatFunction RealFxstat() {
    static const auto real = reinterpret_cast<FxstatFunction>(dlsym(RTLD_NEXT, "__fxstat"));
    return real;
}
Fxstat64Function RealFxstat64() {
    static const auto real = reinterpret_cast<Fxstat64Function>(dlsym(RTLD_NEXT, "__fxstat64"));
    return real;
}

// One way into a simulated drive: the Wine drive file, or a fake node /dev/sgN or /dev/srN.
struct DriveNode {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name;        // "E", "sg1", "sr0": node-<name>.conf says how the system treats it
    bool blockNode = false;  // srN: the kernel's command filter applies
};

struct PlacedDrive {
    std::string key;  // the letter under Wine, the block device's name (sr0) natively
    std::vector<DriveNode> nodes;
    std::string confPath, statePath, tracePath;
    std::string confText;  // as last applied
    std::string stateText;
    std::unique_ptr<SimulatedDrive> drive;
};

struct FoundNode {
    PlacedDrive* placed = nullptr;
    const DriveNode* node = nullptr;
};

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::stringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

void AppendLine(const std::string& path, const std::string& line) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    const std::string text = line + "\n";
    const ssize_t written = write(fd, text.data(), text.size());
    (void)written;  // a trace that cannot be written shows up as a missing line
    close(fd);
}

void ReplaceFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) {
        std::rename(temporary.c_str(), path.c_str());
    }
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::vector<std::string> DirectoryEntries(const std::string& path) {
    std::vector<std::string> names;
    if (DIR* directory = RealOpendir()(path.c_str())) {
        while (const dirent* entry = readdir(directory)) {
            names.emplace_back(entry->d_name);
        }
        closedir(directory);
    }
    return names;
}

bool StatNode(const std::string& path, const std::string& name, bool blockNode, DriveNode& node) {
    struct stat status;
    if (stat(path.c_str(), &status) != 0) {
        return false;
    }
    node = DriveNode{status.st_dev, status.st_ino, name, blockNode};
    return true;
}

// How the system treats the node now: node-<name>.conf in SIM_DRIVE_DIR, read afresh each time so
// that a test can change it while the program runs.
NodeConfig NodeConfigOf(const std::string& name) {
    NodeConfig config;
    std::string text;
    const std::string path = Environment("SIM_DRIVE_DIR") + "/node-" + name + ".conf";
    std::string error;
    if (ReadWholeFile(path, text) && !ParseNodeConfig(text, config, error)) {
        std::fprintf(stderr, "sim_sg_io_preload: %s: %s\n", path.c_str(), error.c_str());
    }
    return config;
}

std::string CdbHex(const uint8_t* cdb, size_t length) {
    std::string hex;
    char byte[3];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(byte, sizeof byte, "%02X", cdb[i]);
        hex += byte;
    }
    return hex;
}

class PreloadedDrives {
public:
    // The drive and node whose file is the one open on fd, or none.
    FoundNode Find(int fd) {
        struct stat status;
        if (RealFstat()(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            return FoundNode{};
        }
        std::lock_guard<std::mutex> lock(mutex_);
        for (int pass = 0; pass < 2; ++pass) {
            for (auto& placed : drives_) {
                for (const DriveNode& node : placed->nodes) {
                    if (node.device == status.st_dev && node.inode == status.st_ino) {
                        RefreshLiveSettings(*placed);
                        return FoundNode{placed.get(), &node};
                    }
                }
            }
            PlaceNewDrives();  // a drive may have been set up since the last look
        }
        return FoundNode{};
    }

    void RecordCommand(PlacedDrive& placed, const ReceivedCommand& command) {
        std::lock_guard<std::mutex> lock(mutex_);
        AppendLine(placed.tracePath, FormatTraceLine(command));
        const std::string state = FormatSavedState(*placed.drive);
        if (state != placed.stateText) {
            ReplaceFile(placed.statePath, state);
            placed.stateText = state;
        }
    }

    // A command failed in the system's stead never reaches the drive; the trace says so.
    void RecordSystemFailure(PlacedDrive& placed, int error, const uint8_t* cdb, size_t length) {
        std::lock_guard<std::mutex> lock(mutex_);
        AppendLine(placed.tracePath, "system=" + ErrorName(error) + " cdb=" + CdbHex(cdb, length));
    }

private:
    void PlaceNewDrives() {
        const std::string directory = Environment("SIM_DRIVE_DIR");
        if (directory.empty()) {
            return;
        }
        for (char letter = 'C'; letter <= 'Z'; ++letter) {
            const std::string key(1, letter);
            DriveNode node;
            if (!IsPlaced(key) &&
                StatNode(directory + "/drive-" + key + ".dev", key, false, node)) {
                TryPlace(directory, key, {node});
            }
        }
        PlaceLinuxDrives(directory);
    }

    // Each srN of the fake sysfs tree, reached through SIM_ROOT/dev/srN and its sg node.
    void PlaceLinuxDrives(const std::string& directory) {
        const std::string root = Environment("SIM_ROOT");
        if (root.empty()) {
            return;
        }
        const std::string classBlock = root + "/sys/class/block/";
        for (const std::string& name : DirectoryEntries(classBlock)) {
            if (name.compare(0, 2, "sr") != 0 ||
                DeviceNodeName(("/dev/" + name).c_str()) == nullptr) {
                continue;
            }
            if (IsPlaced(name)) {
                AddAppearedNodes(root, classBlock, name);
                continue;
            }
            std::vector<DriveNode> nodes;
            DriveNode node;
            if (StatNode(root + "/dev/" + name, name, true, node)) {
                nodes.push_back(node);
            }
            for (const std::string& sg :
                 DirectoryEntries(classBlock + name + "/device/scsi_generic")) {
                if (sg.compare(0, 2, "sg") == 0 && StatNode(root + "/dev/" + sg, sg, false, node)) {
                    nodes.push_back(node);
                }
            }
            if (!nodes.empty()) {
                TryPlace(directory, name, nodes);
            }
        }
    }

    // A generic node that a placed drive has gained since (the sg module loaded while a program
    // runs) reaches that drive too. A node already known keeps the drive it leads to.
    void AddAppearedNodes(const std::string& root, const std::string& classBlock,
                          const std::string& key) {
        for (auto& placed : drives_) {
            if (placed->key != key) {
                continue;
            }
            for (const std::string& sg :
                 DirectoryEntries(classBlock + key + "/device/scsi_generic")) {
                DriveNode node;
                const bool known = std::any_of(placed->nodes.begin(), placed->nodes.end(),
                                               [&sg](const DriveNode& n) { return n.name == sg; });
                if (sg.compare(0, 2, "sg") == 0 && !known &&
                    StatNode(root + "/dev/" + sg, sg, false, node)) {
                    placed->nodes.push_back(node);
                }
            }
        }
    }

    void TryPlace(const std::string& directory, const std::string& key,
                  const std::vector<DriveNode>& nodes) {
        auto placed = std::make_unique<PlacedDrive>();
        placed->key = key;
        placed->nodes = nodes;
        placed->confPath = directory + "/drive-" + key + ".conf";
        placed->statePath = directory + "/drive-" + key + ".state";
        placed->tracePath = directory + "/trace-" + key + ".log";
        if (ReadWholeFile(placed->confPath, placed->confText) && CreateDrive(*placed)) {
            drives_.push_back(std::move(placed));
        }
    }

    bool IsPlaced(const std::string& key) const {
        for (const auto& placed : drives_) {
            if (placed->key == key) {
                return true;
            }
        }
        return false;
    }

    bool CreateDrive(PlacedDrive& placed) {
        DriveConfigFile file;
        std::string error;
        if (!ParseDriveConfig(placed.confText, file, error)) {
            Complain(placed, placed.confPath + ": " + error);
            return false;
        }
        std::string state;
        if (ReadWholeFile(placed.statePath, state) && !ParseDriveConfig(state, file, error)) {
            Complain(placed, placed.statePath + ": " + error);
            return false;
        }
        placed.drive = std::make_unique<SimulatedDrive>(file.config);
        // The trace file is the record here; the in-memory one would only grow.
        PlacedDrive* target = &placed;
        placed.drive->SetObserver([this, target](const ReceivedCommand& command) {
            RecordCommand(*target, command);
            target->drive->ClearReceived();
        });
        ApplyLiveSettings(file, *placed.drive);
        ApplyPageBytes(file, *placed.drive);
        placed.stateText = FormatSavedState(*placed.drive);
        return true;
    }

    // A rewritten conf file changes what a test may change while the program runs.
    void RefreshLiveSettings(PlacedDrive& placed) {
        std::string text;
        if (!ReadWholeFile(placed.confPath, text) || text == placed.confText) {
            return;
        }
        placed.confText = text;
        DriveConfigFile file;
        std::string error;
        if (!ParseDriveConfig(text, file, error)) {
            Complain(placed, placed.confPath + ": " + error);
            return;
        }
        ApplyLiveSettings(file, *placed.drive);
    }

    static void Complain(const PlacedDrive& placed, const std::string& message) {
        std::fprintf(stderr, "sim_sg_io_preload: %s\n", message.c_str());
        AppendLine(placed.tracePath, "error: " + message);
    }

    std::mutex mutex_;
    std::vector<std::unique_ptr<PlacedDrive>> drives_;
};

// Never destroyed: Wine's threads may still send commands while the process exits.
PreloadedDrives& Drives() {
    static PreloadedDrives* drives = new PreloadedDrives;
    return *drives;
}

uint8_t DataInFromDirection(int direction) {
    switch (direction) {
        case SG_DXFER_TO_DEV:
            return 0;
        case SG_DXFER_FROM_DEV:
        case SG_DXFER_TO_FROM_DEV:
            return 1;
        default:
            return 2;
    }
}

// What the system does with the command before any drive sees it: 0 to pass it on, else the error
// number SG_IO fails with (the drive has gone; the block node's filter refuses it).
int SystemFailure(const DriveNode& node, uint8_t opcode) {
    const NodeConfig config = NodeConfigOf(node.name);
    if (config.ioError != 0) {
        return config.ioError;
    }
    const bool filtered = config.filter < 0 ? node.blockNode : config.filter == 1;
    return filtered && !BlockNodeFilterPasses(opcode) ? EPERM : 0;
}

int AnswerSgIo(const FoundNode& found, sg_io_hdr_t& header) {
    if (header.interface_id != 'S' || header.cmd_len == 0 || header.cmd_len > 16 ||
        header.cmdp == nullptr) {
        errno = EINVAL;
        return -1;
    }
    uint8_t cdb[16] = {};
    std::memcpy(cdb, header.cmdp, header.cmd_len);
    if (const int failure = SystemFailure(*found.node, cdb[0])) {
        Drives().RecordSystemFailure(*found.placed, failure, cdb, header.cmd_len);
        errno = failure;
        return -1;
    }
    ScsiCommand command;
    command.cdb = cdb;
    command.cdbLength = header.cmd_len;
    command.dataIn = DataInFromDirection(header.dxfer_direction);
    command.data = static_cast<uint8_t*>(header.dxferp);
    command.transferLength = command.data != nullptr ? header.dxfer_len : 0;
    command.timeoutSeconds = header.timeout / 1000;

    uint8_t sense[18] = {};
    uint32_t dataInBytes = 0;
    const uint8_t status = found.placed->drive->Execute(command, sense, &dataInBytes);
    header.status = status;
    header.masked_status = static_cast<unsigned char>(status >> 1);
    header.msg_status = 0;
    header.host_status = 0;
    header.driver_status = status == kScsiStatusCheckCondition ? 0x08 : 0;  // DRIVER_SENSE
    header.sb_len_wr = 0;
    if (status != kScsiStatusGood && header.sbp != nullptr) {
        header.sb_len_wr = header.mx_sb_len < sizeof(sense) ? header.mx_sb_len : sizeof(sense);
        std::memcpy(header.sbp, sense, header.sb_len_wr);
    }
    header.resid = command.dataIn == 1 ? static_cast<int>(command.transferLength - dataInBytes) : 0;
    header.duration = 0;
    header.info = status != kScsiStatusGood ? SG_INFO_CHECK : SG_INFO_OK;
    return 0;
}

// How an open of the node is refused now (0: it is not): every open, or an O_EXCL one.
int OpenRefusal(const char* node, int flags) {
    const NodeConfig config = NodeConfigOf(node);
    if (config.openError != 0) {
        return config.openError;
    }
    return (flags & O_EXCL) != 0 ? config.exclusiveOpenError : 0;
}

constexpr int kNotOpening = -1;

// The path the program asked for, moved into SIM_ROOT when it is one of the moved ones (the mount
// table only when the tree has one); nullptr (errno set) when the moved path is too long or the
// node refuses to be opened with these flags (kNotOpening for a look-up that opens nothing).
const char* MovedPath(const char* path, char* buffer, size_t size, int openFlags) {
    const char* moved = PathUnderSimRoot(std::getenv("SIM_ROOT"), path, buffer, size);
    if (moved == nullptr) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    if (moved != path && std::strcmp(path, kMountTablePath) == 0 &&
        RealAccess()(moved, F_OK) != 0) {
        return path;
    }
    const char* node = moved != path ? DeviceNodeName(path) : nullptr;
    if (openFlags != kNotOpening && node != nullptr) {
        if (const int refusal = OpenRefusal(node, openFlags)) {
            errno = refusal;
            return nullptr;
        }
    }
    return moved;
}

// The fake node an open descriptor is, by the path it was opened by: its name ("sg1") and the
// sysfs directory whose `dev` gives its device number; false for any other descriptor.
bool FakeNodeOf(int fd, std::string& name, std::string& sysfsDirectory) {
    const std::string root = Environment("SIM_ROOT");
    if (root.empty()) {
        return false;
    }
    char link[PATH_MAX];
    const std::string fdPath = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t length = readlink(fdPath.c_str(), link, sizeof link - 1);
    const std::string nodes = root + "/dev/";
    if (length <= 0 || static_cast<size_t>(length) <= nodes.size()) {
        return false;
    }
    const std::string target(link, static_cast<size_t>(length));
    if (target.compare(0, nodes.size(), nodes) != 0 ||
        DeviceNodeName(("/dev/" + target.substr(nodes.size())).c_str()) == nullptr) {
        return false;
    }
    name = target.substr(nodes.size());
    const std::string classBlock = root + "/sys/class/block/";
    if (name.compare(0, 2, "sr") == 0) {
        sysfsDirectory = classBlock + name;
        return true;
    }
    for (const std::string& block : DirectoryEntries(classBlock)) {
        const std::string generic = classBlock + block + "/device/scsi_generic/" + name;
        if (RealAccess()(generic.c_str(), F_OK) == 0) {
            sysfsDirectory = generic;
            return true;
        }
    }
    return false;
}

// A fake node's status as the system would give a device node's: a character device for sgN, a
// block device for srN, with the number its sysfs `dev` says. Nothing changes for a node whose
// tree gives no number, nor for any other descriptor.
template <class Status>
void AsDeviceNode(int fd, Status& status) {
    std::string name, directory, number;
    unsigned int major = 0, minor = 0;
    if (!S_ISREG(status.st_mode) || !FakeNodeOf(fd, name, directory) ||
        !ReadWholeFile(directory + "/dev", number) ||
        std::sscanf(number.c_str(), "%u:%u", &major, &minor) != 2) {
        return;
    }
    const bool block = name.compare(0, 2, "sr") == 0;
    status.st_mode = (status.st_mode & ~S_IFMT) | (block ? S_IFBLK : S_IFCHR);
    status.st_rdev = makedev(major, minor);
    status.st_size = 0;
}

mode_t ModeArgument(int flags, va_list arguments) {
    return (flags & (O_CREAT | O_TMPFILE)) != 0 ? static_cast<mode_t>(va_arg(arguments, int)) : 0;
}

int OpenMoved(OpenFunction real, const char* path, int flags, mode_t mode) {
    char buffer[PATH_MAX];
    const char* moved = MovedPath(path, buffer, sizeof buffer, flags);
    return moved != nullptr ? real(moved, flags, mode) : -1;
}

using StatFunction = int (*)(const char*, struct stat*);
using Stat64Function = int (*)(const char*, struct stat64*);
using ReadlinkFunction = ssize_t (*)(const char*, char*, size_t);

StatFunction RealStat() {
    static const auto real = reinterpret_cast<StatFunction>(dlsym(RTLD_NEXT, "stat"));
    return real;
}
Stat64Function RealStat64() {
    static const auto real = reinterpret_cast<Stat64Function>(dlsym(RTLD_NEXT, "stat64"));
    return real;
}
ReadlinkFunction RealReadlink() {
    static const auto real = reinterpret_cast<ReadlinkFunction>(dlsym(RTLD_NEXT, "readlink"));
    return real;
}

// A path looked up without opening it (stat, readlink, opendir): moved as for an open, or, for
// another path under /dev (/dev/cdrom, /dev/disk/by-id/...), when the tree holds it. nullptr (errno
// set) when the moved path is too long.
const char* LookedUpPath(const char* path, char* buffer, size_t size) {
    const char* moved = MovedPath(path, buffer, size, kNotOpening);
    if (moved != path) {
        return moved;
    }
    char inTree[PATH_MAX];
    const char* device =
        DevicePathUnderSimRoot(std::getenv("SIM_ROOT"), path, inTree, sizeof inTree);
    if (device == nullptr || device == path) {
        return path;
    }
    struct stat status {};
    if (RealStat()(device, &status) != 0 && RealReadlink()(device, buffer, 1) < 0) {
        return path;  // neither a file nor a link (dangling or not) in the tree
    }
    if (std::strlen(device) >= size) {
        errno = ENAMETOOLONG;
        return nullptr;
    }
    std::strcpy(buffer, device);
    return buffer;
}

}  // namespace

#define PRELOADED extern "C" __attribute__((visibility("default")))

PRELOADED int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenMoved(RealOpen(), path, flags, mode);
}

PRELOADED int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = ModeArgument(flags, arguments);
    va_end(arguments);
    return OpenMoved(RealOpen64(), path, flags, mode);
}

PRELOADED DIR* opendir(const char* path) {
    char buffer[PATH_MAX];
    const char* moved = LookedUpPath(path, buffer, sizeof buffer);
    return moved != nullptr ? RealOpendir()(moved) : nullptr;
}

PRELOADED int access(const char* path, int mode) {
    char buffer[PATH_MAX];
    const char* moved = MovedPath(path, buffer, sizeof buffer, kNotOpening);
    return moved != nullptr ? RealAccess()(moved, mode) : -1;
}

PRELOADED int fstat(int fd, struct stat* status) {
    const int result = RealFstat()(fd, status);
    if (result == 0) {
        AsDeviceNode(fd, *status);
    }
    return result;
}

PRELOADED int fstat64(int fd, struct stat64* status) {
    const int result = RealFstat64()(fd, status);
    if (result == 0) {
        AsDeviceNode(fd, *status);
    }
    return result;
}

// The entry points programs built against a C library before 2.33 call.
PRELOADED int __fxstat(int version, int fd, struct stat* status) {
    if (RealFxstat() == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    const int result = RealFxstat()(version, fd, status);
    if (result == 0) {
        AsDeviceNode(fd, *status);
    }
    return result;
}

PRELOADED int __fxstat64(int version, int fd, struct stat64* status) {
    if (RealFxstat64() == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    const int result = RealFxstat64()(version, fd, status);
    if (result == 0) {
        AsDeviceNode(fd, *status);
    }
    return result;
}

PRELOADED int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (request == SG_IO && argument != nullptr) {
        const FoundNode found = Drives().Find(fd);
        if (found.placed != nullptr) {
            return AnswerSgIo(found, *static_cast<sg_io_hdr_t*>(argument));
        }
    }
    return RealIoctl()(fd, request, argument);
}

PRELOADED int stat(const char* path, struct stat* status) {
    char buffer[PATH_MAX];
    const char* moved = LookedUpPath(path, buffer, sizeof buffer);
    return moved != nullptr ? RealStat()(moved, status) : -1;
}

PRELOADED int stat64(const char* path, struct stat64* status) {
    char buffer[PATH_MAX];
    const char* moved = LookedUpPath(path, buffer, sizeof buffer);
    return moved != nullptr ? RealStat64()(moved, status) : -1;
}

PRELOADED ssize_t readlink(const char* path, char* target, size_t size) {
    char buffer[PATH_MAX];
    const char* moved = LookedUpPath(path, buffer, sizeof buffer);
    return moved != nullptr ? RealReadlink()(moved, target, size) : -1;
}
