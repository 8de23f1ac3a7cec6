// A block device's place in sysfs, read upwards from its SCSI device: the SCSI address and the
// identity sysfs gives the device, the SCSI host it hangs on with the driver behind that host,
// and the USB device above the host when the drive is reached through USB. Linux only.
//
// The walk goes up by "..": /sys/class/block/sr0/device/.., /sys/class/block/sr0/device/../..,
// and so on. The kernel resolves each ".." from where the symbolic links led, so the walk sees
// the device's real ancestors without reading a link, and every path it opens stays below
// /sys/class/block (where the SG_IO preload library of sim/ finds the fake tree). Names come
// from the attributes: a host has scsi_host/hostN/, a bound device's uevent says DRIVER=, a USB
// device has idVendor and idProduct. Its serial attribute is never read.
#pragma once

#include <string>
#include <vector>

#include "platform/optical_drive_facts.h"

// blockDirectory: the device's directory under class/block ("/sys/class/block/sr0", or the
// same in a test's fake tree). Fills the SCSI address, vendor, model, revision, host and USB
// facts; leaves what sysfs does not give empty.
void ReadSysfsDeviceChain(const std::string& blockDirectory, OpticalDriveFacts& facts);

// The first line of a small sysfs attribute, without surrounding white space; empty when it
// cannot be read.
std::string ReadSysfsAttribute(const std::string& path);

// The names in a directory, without "." and ".."; none when it cannot be read.
std::vector<std::string> SysfsDirectoryEntries(const std::string& path);
