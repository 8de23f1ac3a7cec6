// A fake sysfs and /dev tree in a temporary folder, laid out as Linux lays out optical drives:
// each drive's SCSI device deep in sys/devices under its host and the devices the host hangs on,
// sys/class/block/srN a symbolic link to its block directory there, and the nodes in dev/.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

class FakeDeviceTree {
public:
    FakeDeviceTree() {
        char pattern[] = "/tmp/device-tree.XXXXXX";
        root_ = mkdtemp(pattern) != nullptr ? pattern : "";
        EXPECT_FALSE(root_.empty());
    }
    ~FakeDeviceTree() { std::filesystem::remove_all(root_); }
    FakeDeviceTree(const FakeDeviceTree&) = delete;
    FakeDeviceTree& operator=(const FakeDeviceTree&) = delete;

    const std::string& Root() const { return root_; }

    // A device directory below sys/devices, with its uevent lines ("DRIVER=ahci\n").
    std::string Device(const std::string& path, const std::string& uevent = "") {
        Write("sys/devices/" + path + "/uevent", uevent);
        return path;
    }
    void Attribute(const std::string& device, const std::string& name, const std::string& value) {
        Write("sys/devices/" + device + "/" + name, value + "\n");
    }
    // A SCSI host below the device, as its driver names it.
    std::string Host(const std::string& parent, int number, const std::string& procName) {
        const std::string host = Device(parent + "/host" + std::to_string(number));
        Attribute(host, "scsi_host/host" + std::to_string(number) + "/proc_name", procName);
        return host;
    }
    // Drive srN of SCSI address H:0:0:0 below the host, with its sg node sgM unless M < 0.
    void Drive(const std::string& host, int h, int n, int m, const std::string& model) {
        const std::string address = std::to_string(h) + ":0:0:0";
        const std::string target = Device(host + "/target" + std::to_string(h) + ":0:0");
        const std::string device = Device(target + "/" + address, "DRIVER=sr\n");
        Attribute(device, "type", "5");
        Attribute(device, "vendor", "VELMORA ");
        Attribute(device, "model", model);
        Attribute(device, "rev", "1.00");
        std::filesystem::create_directories(
            Path("sys/devices/" + device + "/scsi_device/" + address));
        const std::string block = Device(device + "/block/sr" + std::to_string(n));
        std::filesystem::create_directory_symlink("../../../" + address,
                                                  Path("sys/devices/" + block + "/device"));
        std::filesystem::create_directories(Path("sys/class/block"));
        std::filesystem::create_directory_symlink("../../devices/" + block,
                                                  Path("sys/class/block/sr" + std::to_string(n)));
        Write("dev/sr" + std::to_string(n), "");
        if (m >= 0) {
            std::filesystem::create_directories(
                Path("sys/devices/" + device + "/scsi_generic/sg" + std::to_string(m)));
            Write("dev/sg" + std::to_string(m), "");
        }
    }

    std::filesystem::path Path(const std::string& relative) const {
        return std::filesystem::path(root_) / relative;
    }
    void Write(const std::string& relative, const std::string& text) {
        std::filesystem::create_directories(Path(relative).parent_path());
        std::ofstream(Path(relative)) << text;
    }

private:
    std::string root_;
};

// Drive sr0 (sg1) behind a USB adapter, drive sr1 (sg2) on an AHCI port.
inline void AddUsbAndAhciDrives(FakeDeviceTree& tree) {
    tree.Device("pci0000:00");
    tree.Device("pci0000:00/0000:00:14.0", "DRIVER=xhci_hcd\n");
    const std::string hub = tree.Device("pci0000:00/0000:00:14.0/usb2", "DRIVER=usb\n");
    tree.Attribute(hub, "idVendor", "1d6b");
    tree.Attribute(hub, "idProduct", "0003");
    const std::string adapter = tree.Device(hub + "/2-1", "DRIVER=usb\nDEVTYPE=usb_device\n");
    tree.Attribute(adapter, "idVendor", "152d");
    tree.Attribute(adapter, "idProduct", "2339");
    tree.Attribute(adapter, "manufacturer", "JMicron");
    tree.Attribute(adapter, "product", "USB to ATA/ATAPI Bridge");
    tree.Attribute(adapter, "serial", "SERIAL0123456789");
    const std::string interface = tree.Device(adapter + "/2-1:1.0", "DRIVER=usb-storage\n");
    tree.Attribute(interface, "bInterfaceClass", "08");
    tree.Drive(tree.Host(interface, 6, "usb-storage"), 6, 0, 1, "CD-R DRIVE 7315");
    const std::string controller = tree.Device("pci0000:00/0000:00:1f.2", "DRIVER=ahci\n");
    const std::string port = tree.Device(controller + "/ata2", "DEVTYPE=ata_port\n");
    tree.Drive(tree.Host(port, 1, "ahci"), 1, 1, 2, "CD-R DRIVE 7305");
}
