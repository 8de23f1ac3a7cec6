// libFuzzer target: the Linux drive list read from a sysfs and /dev tree of any shape. Each input
// builds a scratch tree (a fresh folder of one scratch root the process keeps) and lists its
// drives with ListOpticalDrives(root).
//
// Input, read from the front (0 once it is used up):
//   count    1 byte: low 3 bits, the entries under sys/class/block
//   entry    name   1 byte form (below), then what the form reads
//            shape  1 byte: bits 0-1 the entry: folder, link to a folder elsewhere in the tree,
//                   file, dangling link; bits 2-3 its device: folder, link to a folder, missing,
//                   file; bit 4 type is a folder; bit 5 no type; bits 6-7 scsi_generic: folder,
//                   missing, file, link to a folder
//            type   1 byte length, then that many bytes (any: no newline, long, NUL, spaces)
//            dev    1 byte length, then that many bytes (the block device's major:minor file)
//            sg     1 byte: low 3 bits, the names in scsi_generic; each a name, then 1 byte: the
//                   /dev node of that name: file, missing, folder, link out of the tree
//   name form  1 byte: low 2 bits 0 "sr"/"sg" and one digit byte, 1 "sr"/"sg" and a 2-byte
//              number, 2 a length byte and raw bytes ('/' and NUL as '_'), 3 a name from a list
//
// Properties, on every input: no sanitizer report; every path the reader opens, lists or looks
// at lies in the scratch tree; every drive listed is an srN entry whose type file holds "5" as
// its first line (white space aside); it is reached through an sg node of its scsi_generic folder
// that the scratch /dev has, or else through its own block node; no drive is listed twice, and
// the list is in the order of N.
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/sysfs_optical_drives.h"
#include "tests/fuzz/fuzz_transport.h"

// What the reader asks of the file system, seen through the linker's --wrap of these three calls.
namespace {
bool watching = false;
std::vector<std::string> touched;
void Touch(const char* path) {
    if (watching) {
        touched.emplace_back(path);
    }
}
}  // namespace

extern "C" {
int __real_open(const char* path, int flags, ...);
DIR* __real_opendir(const char* path);
int __real_access(const char* path, int mode);

int __wrap_open(const char* path, int flags, ...) {
    Touch(path);
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return __real_open(path, flags, mode);
}
DIR* __wrap_opendir(const char* path) {
    Touch(path);
    return __real_opendir(path);
}
int __wrap_access(const char* path, int mode) {
    Touch(path);
    return __real_access(path, mode);
}
}

namespace {

constexpr char kOptical[] = "5";

void RemoveTree(const std::string& path) {
    nftw(
        path.c_str(), [](const char* item, const struct stat*, int, FTW*) { return remove(item); },
        16, FTW_DEPTH | FTW_PHYS);
}

// In memory where the system has a tmpfs for it: a disk file system takes milliseconds to make
// and remove the folders of one input.
std::string ScratchParent() {
    if (access("/dev/shm", W_OK) == 0) {
        return "/dev/shm";
    }
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
}

// The scratch root, made once and removed at exit; each input gets a fresh "tree" inside it.
class ScratchRoot {
public:
    ScratchRoot() : path_(ScratchParent() + "/sysfs-fuzz.XXXXXX") {
        Require(mkdtemp(path_.data()) != nullptr, "scratch root");
    }
    ~ScratchRoot() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

const std::string& ScratchRootPath() {
    static const ScratchRoot root;
    return root.Path();
}

void WriteFile(const std::string& path, const std::string& content) {
    const int descriptor = __real_open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor >= 0) {
        Require(write(descriptor, content.data(), content.size()) ==
                    static_cast<ssize_t>(content.size()),
                "scratch file written");
        close(descriptor);
    }
}

std::string Bytes(FuzzInput& input) {
    std::string bytes(input.Byte(), '\0');
    input.Fill(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size());
    return bytes;
}

// A name as the input gives it: never empty, ".", ".." or with '/' or NUL, at most 255 bytes.
std::string Name(FuzzInput& input, const char* prefix) {
    static const char* const kNames[] = {"sda", "sr",  "srx",  "sr01", "sr1234567", "sr-1",
                                         "sg",  "sg0", "sr0 ", "SR0",  "sr00000"};
    const uint8_t form = input.Byte() & 0x03;
    std::string name;
    if (form == 0) {
        name = prefix + std::to_string(input.Byte() % 10);
    } else if (form == 1) {
        name = prefix + std::to_string(input.Word());
    } else if (form == 2) {
        name = Bytes(input);
        std::replace(name.begin(), name.end(), '/', '_');
        std::replace(name.begin(), name.end(), '\0', '_');
    } else {
        name = kNames[input.Byte() % (sizeof kNames / sizeof kNames[0])];
    }
    if (name.empty() || name == "." || name == "..") {
        name = "x" + name;
    }
    return name;
}

// A folder at path, or a link there to a folder made elsewhere in the tree.
void MakeFolder(const std::string& tree, const std::string& path, bool linked, int* made) {
    if (!linked) {
        mkdir(path.c_str(), 0755);
        return;
    }
    const std::string target = tree + "/devices/" + std::to_string((*made)++);
    mkdir(target.c_str(), 0755);
    symlink(target.c_str(), path.c_str());
}

// What the tree says of one srN entry: its type's first line and the names in its scsi_generic
// folder (whether /dev has them is asked once the whole tree is built).
struct EntryTruth {
    bool typeIsOptical = false;
    std::set<std::string> genericNames;
};

void BuildGenericNodes(FuzzInput& input, const std::string& tree, const std::string& folder,
                       EntryTruth* truth) {
    const int count = input.Byte() & 0x07;
    for (int i = 0; i < count; ++i) {
        const std::string name = Name(input, "sg");
        const uint8_t node = input.Byte() & 0x03;
        if (mkdir((folder + "/" + name).c_str(), 0755) != 0) {
            continue;
        }
        truth->genericNames.insert(name);
        const std::string devNode = tree + "/dev/" + name;
        if (node == 0) {
            WriteFile(devNode, "");
        } else if (node == 2) {
            mkdir(devNode.c_str(), 0755);
        } else if (node == 3) {
            symlink("/", devNode.c_str());  // leads out of the tree
        }                                   // 1: none (unless another entry's name makes one)
    }
}

// The type file's first line without the white space around it.
std::string FirstLineTrimmed(const std::string& content) {
    std::string line = content.substr(0, content.find('\n'));
    const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!line.empty() && space(line.back())) {
        line.pop_back();
    }
    size_t start = 0;
    while (start < line.size() && space(line[start])) {
        ++start;
    }
    return line.substr(start);
}

void BuildEntry(FuzzInput& input, const std::string& tree, int* made,
                std::map<std::string, EntryTruth>* truths) {
    const std::string name = Name(input, "sr");
    const uint8_t shape = input.Byte();
    const std::string type = Bytes(input);
    const std::string dev = Bytes(input);
    const std::string entry = tree + "/sys/class/block/" + name;
    struct stat existing;
    if (lstat(entry.c_str(), &existing) == 0) {
        return;  // a name given twice keeps its first entry
    }
    EntryTruth truth;
    switch (shape & 0x03) {
        case 2:
            WriteFile(entry, type);
            return;
        case 3:
            symlink((tree + "/nowhere").c_str(), entry.c_str());
            return;
        default:
            MakeFolder(tree, entry, (shape & 0x03) == 1, made);
    }
    WriteFile(entry + "/dev", dev);
    const std::string device = entry + "/device";
    switch ((shape >> 2) & 0x03) {
        case 2:
            (*truths)[name] = truth;
            return;
        case 3:
            WriteFile(device, type);
            (*truths)[name] = truth;
            return;
        default:
            MakeFolder(tree, device, ((shape >> 2) & 0x03) == 1, made);
    }
    if ((shape & 0x10) != 0) {
        mkdir((device + "/type").c_str(), 0755);
    } else if ((shape & 0x20) == 0) {
        WriteFile(device + "/type", type);
        truth.typeIsOptical = FirstLineTrimmed(type) == kOptical;
    }
    const std::string generic = device + "/scsi_generic";
    switch (shape >> 6) {
        case 0:
        case 3:
            MakeFolder(tree, generic, (shape >> 6) == 3, made);
            BuildGenericNodes(input, tree, generic, &truth);
            break;
        case 2:
            WriteFile(generic, "");
            break;
        default:
            break;
    }
    (*truths)[name] = truth;
}

// The N of an "srN" name as the kernel makes them; -1 for any other name.
long DriveNumber(const std::string& name) {
    if (name.size() < 3 || name.compare(0, 2, "sr") != 0 ||
        name.find_first_not_of("0123456789", 2) != std::string::npos) {
        return -1;
    }
    return std::strtol(name.c_str() + 2, nullptr, 10);
}

void CheckListed(const std::string& tree, const std::vector<DriveCandidate>& drives,
                 const std::map<std::string, EntryTruth>& truths) {
    std::set<std::string> names;
    long previous = -1;
    for (const DriveCandidate& drive : drives) {
        Require(drive.name.compare(0, 5, "/dev/") == 0, "a drive is named /dev/srN");
        const std::string entry = drive.name.substr(5);
        const auto truth = truths.find(entry);
        Require(truth != truths.end() && DriveNumber(entry) >= 0,
                "a drive listed is an srN entry of the tree");
        Require(truth->second.typeIsOptical, "no drive listed that is not of type 5");
        Require(names.insert(drive.name).second, "no drive listed twice");
        Require(DriveNumber(entry) >= previous, "drives in the order of N");
        previous = DriveNumber(entry);
        if (drive.throughBlockNode) {
            Require(drive.devicePath == drive.name, "a block node is the drive's own");
        } else {
            const std::string node = drive.devicePath.substr(5);
            Require(drive.devicePath.compare(0, 5, "/dev/") == 0 &&
                        truth->second.genericNames.count(node) == 1 &&
                        access((tree + "/dev/" + node).c_str(), F_OK) == 0,
                    "an sg node of the drive's scsi_generic folder that /dev has");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string tree = ScratchRootPath() + "/tree";
    RemoveTree(tree);
    for (const char* folder : {"", "/sys", "/sys/class", "/sys/class/block", "/dev", "/devices"}) {
        mkdir((tree + folder).c_str(), 0755);
    }
    FuzzInput input(data, size);
    std::map<std::string, EntryTruth> truths;
    int made = 0;
    const int entries = input.Byte() & 0x07;
    for (int i = 0; i < entries; ++i) {
        BuildEntry(input, tree, &made, &truths);
    }

    touched.clear();
    watching = true;
    const std::vector<DriveCandidate> drives = ListOpticalDrives(tree);
    watching = false;
    for (const std::string& path : touched) {
        Require(path.compare(0, tree.size() + 1, tree + "/") == 0,
                "the reader opens, lists and looks at nothing outside the tree");
    }
    if (std::getenv("FUZZ_SHOW_OUTPUT") != nullptr) {  // replaying one input to see what it does
        for (const DriveCandidate& drive : drives) {
            std::fprintf(stderr, "listed %s through %s\n", drive.name.c_str(),
                         drive.devicePath.c_str());
        }
    }
    CheckListed(tree, drives, truths);
    return 0;
}
