// The Linux lock and claim on a drive's block node (a plain file stands in for it: flock works
// alike), the mount table's words, and the identity check of an open node against sysfs.
#include "platform/drive_claim.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/node_identity.h"

namespace {

namespace fs = std::filesystem;

class TemporaryTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/drive-claim-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        node = root + "/sr0";
        std::ofstream(node).put('\0');
    }
    void TearDown() override { fs::remove_all(root); }

    std::string root;
    std::string node;
    DriveClaims& claims = SystemDriveClaims();
};

// Two writers (each its own descriptor, as two programs have): the second waits its bound and is
// told busy; a reader's poll cannot have the lock meanwhile, and both can once it is let go.
TEST_F(TemporaryTree, OneWriterAtATimeAndAReaderNeverWaits) {
    HoldResult first = claims.LockForWriting(node, 0);
    ASSERT_EQ(first.outcome, HoldOutcome::kHeld);
    EXPECT_EQ(claims.LockForWriting(node, 100).outcome, HoldOutcome::kBusy);
    std::unique_ptr<DriveReadLock> reader = claims.OpenReadLock(node);
    ASSERT_NE(reader, nullptr);
    EXPECT_FALSE(reader->TryHold());

    first.hold.reset();
    EXPECT_TRUE(reader->TryHold());
    EXPECT_EQ(claims.LockForWriting(node, 0).outcome, HoldOutcome::kBusy);  // a reader holds it
    reader->Release();
    EXPECT_EQ(claims.LockForWriting(node, 0).outcome, HoldOutcome::kHeld);
}

// No node named, or none in /dev: nothing to hold. A node that cannot be opened says why.
TEST_F(TemporaryTree, WithoutANodeNothingIsHeldAndOneThatCannotBeOpenedSaysWhy) {
    for (const std::string& none : {std::string(), root + "/sr9"}) {
        EXPECT_EQ(claims.LockForWriting(none, 0).outcome, HoldOutcome::kHeld);
        EXPECT_EQ(claims.ClaimExclusively(none).outcome, HoldOutcome::kHeld);
        EXPECT_EQ(claims.OpenReadLock(none), nullptr);
    }
    const HoldResult unopened = claims.ClaimExclusively(node + "/sr0");  // under a plain file
    EXPECT_EQ(unopened.outcome, HoldOutcome::kFailed);
    EXPECT_EQ(unopened.osError, ENOTDIR);
}

TEST(MountTable, GivesTheMountPointOfTheDeviceNumberWithItsEscapesUndone) {
    const std::string table =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "36 22 11:0 / /media/user/MY\\040DISC ro,nosuid shared:2 - iso9660 /dev/sr0 ro\n";
    EXPECT_EQ(MountPointIn(table, "11:0"), "/media/user/MY DISC");
    EXPECT_EQ(MountPointIn(table, "11:1"), "");
    EXPECT_EQ(MountPointIn("", "11:0"), "");
}

// /dev/null stands in for an open node: a character device whose number sysfs (a fake tree)
// maps to a SCSI address.
TEST_F(TemporaryTree, AnOpenNodeIsTheListedDeviceOnlyWhenKindNumberAndAddressAgree) {
    struct stat status {};
    ASSERT_EQ(stat("/dev/null", &status), 0);
    const std::string number =
        std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev));
    fs::create_directories(root + "/sys/dev/char/" + number + "/device/scsi_device/2:0:0:0");
    const int descriptor = open("/dev/null", O_RDONLY | O_CLOEXEC);
    ASSERT_GE(descriptor, 0);
    DriveCandidate listed{"/dev/sg1", "/dev/sr0", false, "2:0:0:0", number, "/dev/sr0", "11:0"};
    EXPECT_EQ(CheckOpenNode(descriptor, listed, root), NodeCheck::kSameDevice);

    DriveCandidate replugged = listed;
    replugged.scsiAddress = "3:0:0:0";  // the same name and number, another SCSI device
    EXPECT_EQ(CheckOpenNode(descriptor, replugged, root), NodeCheck::kOtherDevice);
    DriveCandidate block = listed;
    block.throughBlockNode = true;  // a block node was listed: a character device is not it
    EXPECT_EQ(CheckOpenNode(descriptor, block, root), NodeCheck::kOtherDevice);
    DriveCandidate unrecorded = listed;
    unrecorded.nodeNumber.clear();
    EXPECT_EQ(CheckOpenNode(descriptor, unrecorded, root), NodeCheck::kNothingToCheck);
    close(descriptor);

    const int file = open(node.c_str(), O_RDONLY | O_CLOEXEC);  // a plain file is no node
    EXPECT_EQ(CheckOpenNode(file, listed, root), NodeCheck::kOtherDevice);
    close(file);
}

}  // namespace
