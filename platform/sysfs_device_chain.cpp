#include "platform/sysfs_device_chain.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

constexpr int kMaxAncestors = 24;      // far above any real chain
constexpr size_t kUeventLimit = 4096;  // a uevent file is a page at most
constexpr size_t kAttributeLimit = 256;

std::string ReadFile(const std::string& path, size_t limit) {
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::string();
    }
    std::string text(limit, '\0');
    const ssize_t length = read(descriptor, &text[0], limit);
    close(descriptor);
    text.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return text;
}

std::string Trimmed(std::string text) {
    const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
    text.erase(std::find_if(text.rbegin(), text.rend(), notSpace).base(), text.end());
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notSpace));
    return text;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// The value of one KEY= line of a uevent file; empty when it has none.
std::string UeventValue(const std::string& directory, const std::string& key) {
    const std::string text = ReadFile(directory + "/uevent", kUeventLimit);
    const std::string prefix = key + "=";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end;
        if (text.compare(start, prefix.size(), prefix) == 0) {
            return Trimmed(text.substr(start + prefix.size(), end - start - prefix.size()));
        }
        start = end + 1;
    }
    return std::string();
}

// "H:C:T:L": four numbers joined by colons.
bool IsScsiAddress(const std::string& name) {
    int numbers = 0;
    bool digit = false;
    for (char c : name) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            digit = true;
        } else if (c == ':' && digit) {
            ++numbers;
            digit = false;
        } else {
            return false;
        }
    }
    return digit && numbers == 3;
}

std::string FirstEntry(const std::string& directory, bool (*matches)(const std::string&)) {
    for (const std::string& name : SysfsDirectoryEntries(directory)) {
        if (matches(name)) {
            return name;
        }
    }
    return std::string();
}

bool IsHostName(const std::string& name) {
    return name.size() > 4 && name.compare(0, 4, "host") == 0 &&
           std::all_of(name.begin() + 4, name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsUsbDevice(const std::string& directory) {
    return Exists(directory + "/idVendor") && Exists(directory + "/idProduct");
}

void ReadUsbDevice(const std::string& directory, UsbAdapterFacts& usb) {
    usb.present = true;
    usb.idVendor = ReadSysfsAttribute(directory + "/idVendor");
    usb.idProduct = ReadSysfsAttribute(directory + "/idProduct");
    usb.manufacturer = ReadSysfsAttribute(directory + "/manufacturer");
    usb.product = ReadSysfsAttribute(directory + "/product");
}

// Up from the SCSI device: the host, then the driver of the first bound ancestor above it, then
// the USB interface and device, if the chain has them.
void WalkUp(const std::string& deviceDirectory, OpticalDriveFacts& facts) {
    std::string directory = deviceDirectory;
    for (int level = 0; level < kMaxAncestors; ++level) {
        directory += "/..";
        if (!Exists(directory + "/uevent")) {
            return;  // above the devices: /sys/devices has no uevent
        }
        if (facts.host.name.empty()) {
            const std::string host = FirstEntry(directory + "/scsi_host", IsHostName);
            if (!host.empty()) {
                facts.host.name = host;
                facts.host.procName =
                    ReadSysfsAttribute(directory + "/scsi_host/" + host + "/proc_name");
            }
            continue;
        }
        const std::string driver = UeventValue(directory, "DRIVER");
        if (facts.host.driver.empty()) {
            facts.host.driver = driver;
        }
        if (Exists(directory + "/bInterfaceClass")) {
            facts.usb.interfaceDriver = driver;
        }
        if (IsUsbDevice(directory)) {
            ReadUsbDevice(directory, facts.usb);
            return;
        }
    }
}

}  // namespace

std::string ReadSysfsAttribute(const std::string& path) {
    const std::string text = ReadFile(path, kAttributeLimit);
    return Trimmed(text.substr(0, text.find('\n')));
}

std::vector<std::string> SysfsDirectoryEntries(const std::string& path) {
    std::vector<std::string> names;
    DIR* directory = opendir(path.c_str());
    if (directory == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(directory)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    closedir(directory);
    std::sort(names.begin(), names.end());
    return names;
}

void ReadSysfsDeviceChain(const std::string& blockDirectory, OpticalDriveFacts& facts) {
    const std::string device = blockDirectory + "/device";
    facts.vendor = ReadSysfsAttribute(device + "/vendor");
    facts.model = ReadSysfsAttribute(device + "/model");
    facts.revision = ReadSysfsAttribute(device + "/rev");
    facts.scsiAddress = FirstEntry(device + "/scsi_device", IsScsiAddress);
    WalkUp(device, facts);
}
