// The optical drives of a fake sysfs tree: which entries count, which node each is opened
// through, and their order.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sysfs_optical_drives.h"

namespace {

namespace fs = std::filesystem;

class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/sysfs-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override { fs::remove_all(root); }

    // A block device with its SCSI device's type and, optionally, an sg node in sysfs and in /dev.
    void AddBlock(const std::string& name, const std::string& type, const std::string& sg = "",
                  bool sgInDev = true) {
        const fs::path device = fs::path(root) / "sys/class/block" / name / "device";
        fs::create_directories(device);
        std::ofstream(device / "type") << type << "\n";
        if (!sg.empty()) {
            fs::create_directories(device / "scsi_generic" / sg);
            if (sgInDev) {
                Touch("dev/" + sg);
            }
        }
        Touch("dev/" + name);
    }
    void Touch(const std::string& relative) {
        fs::create_directories((fs::path(root) / relative).parent_path());
        std::ofstream(fs::path(root) / relative);
    }

    std::string root;
};

std::vector<std::string> Paths(const std::vector<DriveCandidate>& drives) {
    std::vector<std::string> paths;
    for (const DriveCandidate& drive : drives) {
        paths.push_back(drive.name + "=" + drive.devicePath +
                        (drive.throughBlockNode ? " (block)" : ""));
    }
    return paths;
}

TEST_F(FakeSysfs, ListsOpticalDrivesByNumberThroughTheirGenericNodeElseTheBlockNode) {
    AddBlock("sr10", "5", "sg12");
    AddBlock("sr2", "5");  // no sg module: the block node
    AddBlock("sr0", "5\n", "sg1");
    AddBlock("sda", "0", "sg0");
    AddBlock("sr1", "0", "sg3");  // an sr name, but not an optical device
    AddBlock("srx", "5");
    EXPECT_EQ(Paths(ListOpticalDrives(root)),
              (std::vector<std::string>{"/dev/sr0=/dev/sg1", "/dev/sr2=/dev/sr2 (block)",
                                        "/dev/sr10=/dev/sg12"}));
}

TEST_F(FakeSysfs, AGenericNodeMissingFromDevFallsBackToTheBlockNode) {
    AddBlock("sr0", "5", "sg1", false);
    EXPECT_EQ(Paths(ListOpticalDrives(root + "/")),
              std::vector<std::string>{"/dev/sr0=/dev/sr0 (block)"});
}

// What each drive is remembered by: its SCSI address and the numbers of the node it is opened
// through and of its block node.
TEST_F(FakeSysfs, EachDriveKeepsTheIdentitySysfsGivesIt) {
    AddBlock("sr0", "5", "sg1");
    AddBlock("sr1", "5");
    const fs::path block = fs::path(root) / "sys/class/block";
    for (const auto& [name, number, address] :
         {std::tuple{"sr0", "11:0", "2:0:0:0"}, std::tuple{"sr1", "11:1", "3:0:1:0"}}) {
        std::ofstream(block / name / "dev") << number << "\n";
        fs::create_directories(block / name / "device/scsi_device" / address);
    }
    std::ofstream(block / "sr0/device/scsi_generic/sg1/dev") << "21:1\n";
    const std::vector<DriveCandidate> drives = ListOpticalDrives(root);
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].scsiAddress, "2:0:0:0");
    EXPECT_EQ(drives[0].nodeNumber, "21:1");
    EXPECT_EQ(drives[0].blockNode, "/dev/sr0");
    EXPECT_EQ(drives[0].blockNumber, "11:0");
    EXPECT_EQ(drives[1].scsiAddress, "3:0:1:0");
    EXPECT_EQ(drives[1].nodeNumber, "11:1");  // opened through its block node
}

TEST_F(FakeSysfs, NoTreeOrAnUnreadableTypeListsNothing) {
    EXPECT_TRUE(ListOpticalDrives(root).empty());
    EXPECT_TRUE(ListOpticalDrives(root + "/no-such-root").empty());
    AddBlock("sr0", "5", "sg1");
    fs::remove(fs::path(root) / "sys/class/block/sr0/device/type");
    EXPECT_TRUE(ListOpticalDrives(root).empty());
}

}  // namespace
