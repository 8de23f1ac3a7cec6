// A library preloaded (LD_PRELOAD) into Wine so that the Windows build, run under Wine, talks to
// simulated drives through its real pass-through code.
//
// How the command gets here (found by experiment with Wine 8.0): CreateFileA("\\.\E:") opens
// whatever the prefix's dosdevices/e:: symlink points at; a plain regular file is enough, Wine
// checks neither a device node nor a file type. DeviceIoControl(IOCTL_SCSI_PASS_THROUGH_DIRECT)
// (device type FILE_DEVICE_CONTROLLER) goes to Wine's CD-ROM ioctl code, which fstat()s the file
// for its cache only, requires Length == sizeof(SCSI_PASS_THROUGH_DIRECT) (56 on win64; 44 is
// refused and nothing is sent), and then calls ioctl(fd, SG_IO, &sg_io_hdr) from the program's own
// process with cmd_len = CdbLength, timeout = TimeOutValue * 1000 and the sense buffer of the
// record. It copies status and sb_len_wr back into the record; host and driver status are not
// reported. So this library replaces ioctl(): an SG_IO on a file that is one of the configured
// drive files (same device and inode) is answered by a SimulatedDrive held in this process;
// everything else goes to the real ioctl.
//
// Configuration: SIM_DRIVE_DIR names a directory with, per letter X, drive-X.conf (the drive's
// set-up, sim/drive_config_file.h) and drive-X.dev (the file the symlink points at). The library
// appends one line per command to trace-X.log (sim/command_trace.h), re-applies the live keys when
// drive-X.conf changes, and keeps the setting values in drive-X.state so that they survive the
// program's restart, as a drive's do. See sim/README.md.
#include <dlfcn.h>
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/stat.h>
#include <unistd.h>

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
#include "sim/simulated_drive.h"

namespace {

struct PlacedDrive {
    char letter = 0;
    dev_t device = 0;
    ino_t inode = 0;
    std::string confPath, statePath, tracePath;
    std::string confText;  // as last applied
    std::string stateText;
    std::unique_ptr<SimulatedDrive> drive;
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

class PreloadedDrives {
public:
    // The drive whose file is the one open on fd, or nullptr.
    PlacedDrive* Find(int fd) {
        struct stat status;
        if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
            return nullptr;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        for (int pass = 0; pass < 2; ++pass) {
            for (auto& placed : drives_) {
                if (placed->device == status.st_dev && placed->inode == status.st_ino) {
                    RefreshLiveSettings(*placed);
                    return placed.get();
                }
            }
            PlaceNewDrives();  // a drive may have been set up since the last look
        }
        return nullptr;
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

private:
    void PlaceNewDrives() {
        const char* directory = std::getenv("SIM_DRIVE_DIR");
        if (directory == nullptr || *directory == '\0') {
            return;
        }
        for (char letter = 'C'; letter <= 'Z'; ++letter) {
            if (IsPlaced(letter)) {
                continue;
            }
            const std::string base = std::string(directory) + "/";
            auto placed = std::make_unique<PlacedDrive>();
            placed->letter = letter;
            placed->confPath = base + "drive-" + letter + ".conf";
            placed->statePath = base + "drive-" + letter + ".state";
            placed->tracePath = base + "trace-" + letter + ".log";
            struct stat status;
            const std::string devicePath = base + "drive-" + letter + ".dev";
            if (stat(devicePath.c_str(), &status) != 0 ||
                !ReadWholeFile(placed->confPath, placed->confText)) {
                continue;
            }
            placed->device = status.st_dev;
            placed->inode = status.st_ino;
            if (CreateDrive(*placed)) {
                drives_.push_back(std::move(placed));
            }
        }
    }

    bool IsPlaced(char letter) const {
        for (const auto& placed : drives_) {
            if (placed->letter == letter) {
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

int AnswerSgIo(PlacedDrive& placed, sg_io_hdr_t& header) {
    if (header.interface_id != 'S' || header.cmd_len == 0 || header.cmd_len > 16 ||
        header.cmdp == nullptr) {
        errno = EINVAL;
        return -1;
    }
    uint8_t cdb[16] = {};
    std::memcpy(cdb, header.cmdp, header.cmd_len);
    ScsiCommand command;
    command.cdb = cdb;
    command.cdbLength = header.cmd_len;
    command.dataIn = DataInFromDirection(header.dxfer_direction);
    command.data = static_cast<uint8_t*>(header.dxferp);
    command.transferLength = command.data != nullptr ? header.dxfer_len : 0;
    command.timeoutSeconds = header.timeout / 1000;

    uint8_t sense[18] = {};
    uint32_t dataInBytes = 0;
    const uint8_t status = placed.drive->Execute(command, sense, &dataInBytes);
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

using IoctlFunction = int (*)(int, unsigned long, ...);

IoctlFunction RealIoctl() {
    static const IoctlFunction real = reinterpret_cast<IoctlFunction>(dlsym(RTLD_NEXT, "ioctl"));
    return real;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int ioctl(int fd, unsigned long request, ...) {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (request == SG_IO && argument != nullptr) {
        if (PlacedDrive* placed = Drives().Find(fd)) {
            return AnswerSgIo(*placed, *static_cast<sg_io_hdr_t*>(argument));
        }
    }
    return RealIoctl()(fd, request, argument);
}
