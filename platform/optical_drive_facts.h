// What the system says about each optical drive it lists, for a diagnostic report: on Linux the
// drive's two device nodes (who owns them and whether this user may open them for reading and
// writing), its SCSI address and identity as sysfs gives them, and the chain it hangs on, read
// from sysfs upwards: the SCSI host and the driver behind it, and a USB adapter's ids and names
// (never its serial number). On Windows the drive letter, the bus type and the identity the
// storage stack gives (IOCTL_STORAGE_QUERY_PROPERTY). Nothing here sends the drive a command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class DeviceNodeKind { kBlock, kGeneric };  // /dev/srN, /dev/sgM

struct DeviceNodeFacts {
    std::string path;  // "/dev/sg1"
    DeviceNodeKind kind = DeviceNodeKind::kBlock;
    bool present = false;
    int statError = 0;  // why it could not be looked at (ENOENT: not in /dev); 0 when present
    std::string type;   // "character", "block" or "other"
    std::string owner, group;  // names; the number in decimal when it has no name
    uint32_t mode = 0;         // the permission bits, 07777 at most
    bool userInGroup = false;  // the group that owns it is one of this user's
    bool readWrite = false;    // access(R_OK | W_OK): this user may open it for both
    int accessError = 0;       // access()'s reason when not
};

// The SCSI host the drive hangs on: its name, the name its driver gives it (proc_name) and the
// driver bound to the device it belongs to (ahci, ata_piix, usb-storage, uas, ...).
struct ScsiHostFacts {
    std::string name;      // "host1"
    std::string procName;  // scsi_host/hostN/proc_name
    std::string driver;    // DRIVER= of the nearest ancestor with a driver
};

// The USB device the drive is reached through, when there is one (an adapter or the drive's own
// USB interface).
struct UsbAdapterFacts {
    bool present = false;
    std::string idVendor, idProduct;    // four hex digits each, as sysfs gives them
    std::string manufacturer, product;  // the device's own names; may be empty
    std::string interfaceDriver;        // usb-storage, uas
};

// Windows: what IOCTL_STORAGE_QUERY_PROPERTY (StorageDeviceProperty) answered for the letter.
struct StorageQueryFacts {
    bool answered = false;
    int osError = 0;      // GetLastError() when it did not answer (or the open failed)
    std::string busType;  // "atapi", "usb", "sata", ... ("unknown" for a number without a name)
};

enum class DriveFactsSource { kSysfs, kStorageQuery };

struct OpticalDriveFacts {
    std::string name;  // as the drive list names it: "/dev/sr0", "E:"
    DriveFactsSource source = DriveFactsSource::kSysfs;
    bool listed = true;  // the system lists it as an optical drive
    // From sysfs (device/vendor, device/model, device/rev) or the storage query.
    std::string vendor, model, revision;
    // Linux
    std::vector<DeviceNodeFacts> nodes;  // the block node first, then the generic one if any
    std::string scsiAddress;             // "H:C:T:L"
    ScsiHostFacts host;
    UsbAdapterFacts usb;
    // Windows
    StorageQueryFacts storage;
};

// The names of the optical drives the system lists, in the order it lists them: on Linux the
// sysfs tree under root ("/" for the running system), on Windows the drive letters of CD-ROM
// type (root is not used there).
std::vector<std::string> ListedOpticalDriveNames(const std::string& root);

// What the system says about the drive of that name; listed as given.
OpticalDriveFacts DescribeOpticalDrive(const std::string& root, const std::string& name,
                                       bool listed);
