// What a diagnostic report learns from the system, on fake trees: each optical drive's chain read
// upwards through sysfs (a USB adapter with its ids and names but never its serial; an AHCI port),
// its nodes with their owner, group and mode, and the system's os-release and sg module.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/optical_drive_facts.h"
#include "platform/system_description.h"
#include "tests/platform/fake_device_tree.h"

namespace {

TEST(OpticalDriveFacts, TheChainOfADriveBehindAUsbAdapterAndOfOneOnAnAhciPort) {
    FakeDeviceTree tree;
    AddUsbAndAhciDrives(tree);
    ASSERT_EQ(ListedOpticalDriveNames(tree.Root()),
              (std::vector<std::string>{"/dev/sr0", "/dev/sr1"}));

    const OpticalDriveFacts usb = DescribeOpticalDrive(tree.Root(), "/dev/sr0", true);
    EXPECT_EQ(usb.scsiAddress, "6:0:0:0");
    EXPECT_EQ(usb.vendor + "|" + usb.model + "|" + usb.revision, "VELMORA|CD-R DRIVE 7315|1.00");
    EXPECT_EQ(usb.host.name + " " + usb.host.procName + " " + usb.host.driver,
              "host6 usb-storage usb-storage");
    ASSERT_TRUE(usb.usb.present);
    // The adapter, not the root hub above it; its serial attribute stays unread.
    EXPECT_EQ(usb.usb.idVendor + ":" + usb.usb.idProduct, "152d:2339");
    EXPECT_EQ(usb.usb.manufacturer + " / " + usb.usb.product, "JMicron / USB to ATA/ATAPI Bridge");
    EXPECT_EQ(usb.usb.interfaceDriver, "usb-storage");

    const OpticalDriveFacts ahci = DescribeOpticalDrive(tree.Root(), "/dev/sr1", true);
    EXPECT_EQ(ahci.scsiAddress, "1:0:0:0");
    EXPECT_EQ(ahci.host.name + " " + ahci.host.procName + " " + ahci.host.driver,
              "host1 ahci ahci");  // the PCI controller's driver, above the port that has none
    EXPECT_FALSE(ahci.usb.present);
}

TEST(OpticalDriveFacts, BothNodesWithOwnerGroupModeAndAGenericNodeMissingFromDev) {
    FakeDeviceTree tree;
    AddUsbAndAhciDrives(tree);
    ASSERT_EQ(chmod(tree.Path("dev/sg1").c_str(), 0640), 0);
    std::filesystem::remove(tree.Path("dev/sg2"));

    const OpticalDriveFacts usb = DescribeOpticalDrive(tree.Root(), "/dev/sr0", true);
    ASSERT_EQ(usb.nodes.size(), 2u);
    EXPECT_EQ(usb.nodes[0].path, "/dev/sr0");
    EXPECT_EQ(usb.nodes[0].kind, DeviceNodeKind::kBlock);
    const DeviceNodeFacts& generic = usb.nodes[1];
    EXPECT_EQ(generic.path, "/dev/sg1");
    EXPECT_EQ(generic.kind, DeviceNodeKind::kGeneric);
    EXPECT_TRUE(generic.present);
    EXPECT_EQ(generic.type, "file");  // a fake node; real ones are "character" and "block"
    EXPECT_EQ(generic.mode, 0640u);
    EXPECT_TRUE(generic.userInGroup);  // the file's group is the test's own
    EXPECT_EQ(generic.readWrite, access(tree.Path("dev/sg1").c_str(), R_OK | W_OK) == 0);

    const OpticalDriveFacts ahci = DescribeOpticalDrive(tree.Root(), "/dev/sr1", true);
    ASSERT_EQ(ahci.nodes.size(), 2u);
    EXPECT_FALSE(ahci.nodes[1].present);
    EXPECT_EQ(ahci.nodes[1].statError, ENOENT);
}

TEST(OpticalDriveFacts, AFlatTreeWithoutAChainGivesNoHostAndNoAdapter) {
    FakeDeviceTree tree;
    tree.Write("sys/class/block/sr0/device/type", "5\n");
    tree.Write("dev/sr0", "");
    const OpticalDriveFacts facts = DescribeOpticalDrive(tree.Root(), "/dev/sr0", true);
    EXPECT_EQ(facts.nodes.size(), 1u);
    EXPECT_TRUE(facts.host.name.empty());
    EXPECT_FALSE(facts.usb.present);
    EXPECT_TRUE(facts.scsiAddress.empty());
}

TEST(SystemDescription, OsReleaseAsAShellReadsItTheSgModuleAndTheUser) {
    FakeDeviceTree tree;
    tree.Write("usr/lib/os-release",
               "# the fallback when etc/os-release is missing\n"
               "NAME=\"Debian GNU/Linux\"\nVERSION='12 (bookworm)'\nID=debian\n"
               "PRETTY_NAME=\"A \\\"quoted\\\" name\"\n");
    SystemDescription system = DescribeSystem(tree.Root());
    EXPECT_EQ(system.os.name, "Debian GNU/Linux");
    EXPECT_EQ(system.os.version, "12 (bookworm)");
    EXPECT_EQ(system.os.id, "debian");
    EXPECT_EQ(system.os.prettyName, "A \"quoted\" name");
    EXPECT_EQ(system.sgModuleLoaded, 0);
    EXPECT_EQ(system.userId, static_cast<int64_t>(getuid()));
    ASSERT_FALSE(system.groups.empty());
    EXPECT_EQ(system.groups[0].id, static_cast<uint32_t>(getegid()));
    EXPECT_FALSE(system.kernel.name.empty());

    tree.Write("etc/os-release", "ID=other\n");
    std::filesystem::create_directories(tree.Path("sys/module/sg"));
    system = DescribeSystem(tree.Root());
    EXPECT_EQ(system.os.name, "Linux");  // os-release's default for a missing NAME
    EXPECT_EQ(system.os.id, "other");
    EXPECT_EQ(system.sgModuleLoaded, 1);
}

}  // namespace
