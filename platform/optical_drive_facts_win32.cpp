// The CD-ROM drive letters Windows lists, each with what the storage stack says of the device
// behind it: IOCTL_STORAGE_QUERY_PROPERTY with StorageDeviceProperty, on a handle opened without
// access rights (a query needs none, and nothing can be sent through it). The descriptor's serial
// number is never read. Under Wine the query may not be answered at all; the report says so.
#include <windows.h>

#include <winioctl.h>  // not part of windows.h with WIN32_LEAN_AND_MEAN

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/optical_drive_facts.h"

namespace {

constexpr DWORD kDescriptorBufferSize = 1024;

const char* BusTypeName(DWORD busType) {
    switch (busType) {
        case BusTypeScsi:
            return "scsi";
        case BusTypeAtapi:
            return "atapi";
        case BusTypeAta:
            return "ata";
        case BusType1394:
            return "1394";
        case BusTypeSsa:
            return "ssa";
        case BusTypeFibre:
            return "fibre";
        case BusTypeUsb:
            return "usb";
        case BusTypeRAID:
            return "raid";
        case BusTypeiScsi:
            return "iscsi";
        case BusTypeSas:
            return "sas";
        case BusTypeSata:
            return "sata";
        case BusTypeSd:
            return "sd";
        case BusTypeMmc:
            return "mmc";
        case BusTypeVirtual:
            return "virtual";
        case BusTypeFileBackedVirtual:
            return "file_backed_virtual";
        default:
            return "unknown";
    }
}

// The zero-terminated text at offset within the bytes returned, without surrounding spaces;
// empty for offset 0 (none given) or an offset outside them.
std::string TextAt(const std::vector<char>& bytes, DWORD returned, DWORD offset) {
    if (offset == 0 || offset >= returned) {
        return std::string();
    }
    std::string text;
    for (DWORD i = offset; i < returned && bytes[i] != '\0'; ++i) {
        text += bytes[i];
    }
    const size_t first = text.find_first_not_of(' ');
    const size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

void QueryStorageProperty(const std::string& name, OpticalDriveFacts& facts) {
    const std::string path = "\\\\.\\" + name;
    HANDLE device = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE) {
        facts.storage.osError = static_cast<int>(GetLastError());
        return;
    }
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceProperty;
    query.QueryType = PropertyStandardQuery;
    std::vector<char> bytes(kDescriptorBufferSize, '\0');
    DWORD returned = 0;
    const BOOL answered =
        DeviceIoControl(device, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, bytes.data(),
                        kDescriptorBufferSize, &returned, nullptr);
    facts.storage.osError = answered ? 0 : static_cast<int>(GetLastError());
    CloseHandle(device);
    const DWORD needed = offsetof(STORAGE_DEVICE_DESCRIPTOR, BusType) + sizeof(DWORD);
    if (!answered || returned < needed) {
        return;
    }
    facts.storage.answered = true;
    STORAGE_DEVICE_DESCRIPTOR descriptor{};
    std::copy(bytes.begin(), bytes.begin() + needed, reinterpret_cast<char*>(&descriptor));
    facts.storage.busType = BusTypeName(descriptor.BusType);
    facts.vendor = TextAt(bytes, returned, descriptor.VendorIdOffset);
    facts.model = TextAt(bytes, returned, descriptor.ProductIdOffset);
    facts.revision = TextAt(bytes, returned, descriptor.ProductRevisionOffset);
}

}  // namespace

std::vector<std::string> ListedOpticalDriveNames(const std::string& /*root*/) {
    std::vector<std::string> names;
    const DWORD letters = GetLogicalDrives();
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':', '\\'};
        if ((letters & (1u << (letter - 'A'))) != 0 && GetDriveTypeA(root.c_str()) == DRIVE_CDROM) {
            names.push_back(std::string{letter, ':'});
        }
    }
    return names;
}

OpticalDriveFacts DescribeOpticalDrive(const std::string& /*root*/, const std::string& name,
                                       bool listed) {
    OpticalDriveFacts facts;
    facts.name = name;
    facts.source = DriveFactsSource::kStorageQuery;
    facts.listed = listed;
    QueryStorageProperty(name, facts);
    return facts;
}
