// What the preload library needs to stand in for Linux: which paths move into the fake tree, and
// how a node's set-up and the block node's command filter read.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "sim/node_config_file.h"
#include "sim/sim_root_paths.h"

namespace {

std::string Moved(const char* root, const char* path) {
    char buffer[64];
    const char* moved = PathUnderSimRoot(root, path, buffer, sizeof buffer);
    return moved == nullptr ? "<too long>" : moved;
}

TEST(SimRootPaths, OnlyClassBlockDeviceNumbersTheScsiNodesAndTheMountTableMove) {
    EXPECT_EQ(Moved("/t", "/sys/class/block"), "/t/sys/class/block");
    EXPECT_EQ(Moved("/t", "/sys/dev/char/21:1/device/scsi_device"),
              "/t/sys/dev/char/21:1/device/scsi_device");
    EXPECT_EQ(Moved("/t", "/sys/dev/block/11:0"), "/t/sys/dev/block/11:0");
    EXPECT_EQ(Moved("/t", "/proc/self/mountinfo"), "/t/proc/self/mountinfo");
    EXPECT_EQ(Moved("/t", "/sys/class/block/sr0/device/type"),
              "/t/sys/class/block/sr0/device/type");
    EXPECT_EQ(Moved("/t", "/dev/sg1"), "/t/dev/sg1");
    EXPECT_EQ(Moved("/t", "/dev/sr12"), "/t/dev/sr12");
    for (const char* stays :
         {"/sys/class/blockx", "/sys/class/net", "/dev/sda", "/dev/sgx", "/dev/sr", "/dev/sg1x",
          "dev/sg1", "/etc/passwd", "/sys/dev/charx", "/proc/self/mounts"}) {
        EXPECT_EQ(Moved("/t", stays), stays);
    }
    EXPECT_EQ(Moved(nullptr, "/dev/sg1"), "/dev/sg1");
    EXPECT_EQ(Moved("", "/dev/sg1"), "/dev/sg1");
    EXPECT_EQ(
        Moved("/a-root-whose-name-is-far-too-long-for-the-buffer-of-sixty-four-bytes", "/dev/sg1"),
        "<too long>");
    EXPECT_STREQ(DeviceNodeName("/dev/sg1"), "sg1");
    EXPECT_EQ(DeviceNodeName("/dev/sda"), nullptr);
}

TEST(SimRootPaths, ALookUpMovesAnyDevPathAndNothingElse) {
    char buffer[64];
    EXPECT_STREQ(DevicePathUnderSimRoot("/t", "/dev/disk/by-id/ata-X", buffer, sizeof buffer),
                 "/t/dev/disk/by-id/ata-X");
    for (const char* stays : {"/devx", "dev/cdrom", "/etc/passwd", "/sys/class/block"}) {
        EXPECT_STREQ(DevicePathUnderSimRoot("/t", stays, buffer, sizeof buffer), stays);
    }
    EXPECT_STREQ(DevicePathUnderSimRoot("", "/dev/cdrom", buffer, sizeof buffer), "/dev/cdrom");
}

TEST(NodeConfig, ReadsTheRefusalsAndTheFilterAndSaysWhichLineItCannotRead) {
    NodeConfig config;
    std::string error;
    ASSERT_TRUE(
        ParseNodeConfig("# a node\nopen=EACCES\nexcl=EBUSY\nio=ENODEV\nfilter=0\n", config, error));
    EXPECT_EQ(config.openError, EACCES);
    EXPECT_EQ(config.exclusiveOpenError, EBUSY);
    EXPECT_EQ(config.ioError, ENODEV);
    EXPECT_EQ(config.filter, 0);
    ASSERT_TRUE(ParseNodeConfig("open=0\n", config, error));
    EXPECT_EQ(config.openError, 0);
    EXPECT_FALSE(ParseNodeConfig("open=EACCES\nio=EWHAT\n", config, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
    EXPECT_EQ(ErrorName(EPERM), "EPERM");
}

TEST(NodeConfig, TheBlockNodeFilterPassesTheReadsAndRefusesWriteBuffer) {
    for (uint8_t opcode : {0x00, 0x03, 0x12, 0x1B, 0x3C, 0x43, 0x4A, 0x51, 0x52}) {
        EXPECT_TRUE(BlockNodeFilterPasses(opcode)) << int{opcode};
    }
    EXPECT_FALSE(BlockNodeFilterPasses(0x3B));
    EXPECT_FALSE(BlockNodeFilterPasses(0xFF));
}

}  // namespace
