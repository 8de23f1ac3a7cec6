// The lock and the claim on Linux, both on the drive's block node /dev/srN, each on a descriptor
// of its own (an flock belongs to the open file description, and the claim lasts as long as its
// descriptor):
//
// - The lock: flock(2) LOCK_EX on /dev/srN, the convention of systemd's "Locking Block Device
//   Access" (https://systemd.io/BLOCK_DEVICE_LOCKING/): udev takes LOCK_SH|LOCK_NB on a block
//   device while it probes it and leaves the device alone while another holds LOCK_EX, so the
//   lock keeps udev's probing off the drive too. Our window and velmora-drive take it from the
//   disc probe to the last read-back; the media watcher's poll tries LOCK_SH|LOCK_NB and is
//   skipped when it cannot have it.
// - The claim: /dev/srN opened O_RDONLY|O_NONBLOCK|O_EXCL. Read in Linux 6.x sources:
//   block/fops.c, file_to_blk_mode() turns O_EXCL into BLK_OPEN_EXCL, and blkdev_open() then
//   makes the file itself the holder and calls bdev_open(), which in block/bdev.c claims the
//   device through bd_prepare_to_claim(): -EBUSY when bd_may_claim() finds another holder
//   (bdev->bd_holder set). A mounted file system holds its device that way, and so does a burning
//   program that opens the block node with O_EXCL (libburn, growisofs); plain openers (udev, our
//   own sg descriptor) are no holders and do not stand in the way. O_NONBLOCK lets the sr driver
//   open without a disc. The claim is never taken on the sg node: drivers/scsi/sg.c, sg_open(),
//   makes O_EXCL there wait for (or, with O_NONBLOCK, fail with EBUSY on) any other open
//   descriptor of the node at all, our own command descriptor included, and it does not see
//   mounts.
// The media watcher's read lock keeps its descriptor for as long as the drive is watched rather
// than opening the node for each poll: the sr driver's open and last close make the kernel send
// the drive commands of its own (a media change check; ALLOW MEDIUM REMOVAL), which a poll a
// second should not add to a burning program's. While it is open, the CDROMEJECT ioctl of another
// program is refused (cdrom_ioctl_eject() wants use_count 1); eject(1) then ejects through SCSI.
// Only calls the SG_IO preload library of sim/ answers for its fake nodes are used: open (it can
// refuse an O_EXCL open with EBUSY), access, flock on the node file, and open/read of the mount
// table.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/drive_claim.h"

namespace {

constexpr auto kLockRetryPeriod = std::chrono::milliseconds(20);
constexpr char kMountInfo[] = "/proc/self/mountinfo";

class DescriptorHold : public DriveHold {
public:
    explicit DescriptorHold(int descriptor) : descriptor_(descriptor) {}
    ~DescriptorHold() override { close(descriptor_); }  // closing releases an flock with it
    DescriptorHold(const DescriptorHold&) = delete;
    DescriptorHold& operator=(const DescriptorHold&) = delete;

private:
    int descriptor_;
};

class ReadLock : public DriveReadLock {
public:
    explicit ReadLock(int descriptor) : descriptor_(descriptor) {}
    ~ReadLock() override { close(descriptor_); }
    ReadLock(const ReadLock&) = delete;
    ReadLock& operator=(const ReadLock&) = delete;

    bool TryHold() override { return flock(descriptor_, LOCK_SH | LOCK_NB) == 0; }
    void Release() override { flock(descriptor_, LOCK_UN); }

private:
    int descriptor_;
};

int OpenNode(const std::string& node, int extraFlags) {
    return open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | extraFlags);
}

// Nothing to take: no block node named, or none in this system's /dev (a drive reached through an
// sg node that is all a container was given). No program here can mount or claim a node that is
// not there; a drive that has gone away shows at its next command.
bool NoNodeToTake(const std::string& node) {
    return node.empty() || (access(node.c_str(), F_OK) != 0 && errno == ENOENT);
}

HoldResult Held(std::unique_ptr<DriveHold> hold) {
    HoldResult result;
    result.outcome = HoldOutcome::kHeld;
    result.hold = std::move(hold);
    return result;
}

HoldResult NotHeld(HoldOutcome outcome, int osError) {
    HoldResult result;
    result.outcome = outcome;
    result.osError = osError;
    return result;
}

// Tries LOCK_EX|LOCK_NB until it is had or the wait is over, so that the wait has a bound.
bool LockWithin(int descriptor, uint32_t waitMs, int* error) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        if (flock(descriptor, LOCK_EX | LOCK_NB) == 0) {
            return true;
        }
        *error = errno;
        if (*error != EWOULDBLOCK && *error != EINTR) {
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            *error = EWOULDBLOCK;
            return false;
        }
        std::this_thread::sleep_for(kLockRetryPeriod);
    }
}

std::string ReadWholeTable(const char* path) {
    std::string text;
    const int descriptor = open(path, O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return text;
    }
    char buffer[4096];
    ssize_t length;
    while ((length = read(descriptor, buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<size_t>(length));
    }
    close(descriptor);
    return text;
}

class PosixDriveClaims : public DriveClaims {
public:
    HoldResult LockForWriting(const std::string& blockNode, uint32_t waitMs) override {
        if (NoNodeToTake(blockNode)) {
            return Held(nullptr);
        }
        const int descriptor = OpenNode(blockNode, 0);
        if (descriptor < 0) {
            return NotHeld(HoldOutcome::kFailed, errno);
        }
        int error = 0;
        if (!LockWithin(descriptor, waitMs, &error)) {
            close(descriptor);
            return NotHeld(error == EWOULDBLOCK ? HoldOutcome::kBusy : HoldOutcome::kFailed, error);
        }
        return Held(std::make_unique<DescriptorHold>(descriptor));
    }

    HoldResult ClaimExclusively(const std::string& blockNode) override {
        if (NoNodeToTake(blockNode)) {
            return Held(nullptr);
        }
        const int descriptor = OpenNode(blockNode, O_EXCL);
        if (descriptor < 0) {
            const int error = errno;
            return NotHeld(error == EBUSY ? HoldOutcome::kBusy : HoldOutcome::kFailed, error);
        }
        return Held(std::make_unique<DescriptorHold>(descriptor));
    }

    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string& blockNode) override {
        const int descriptor = blockNode.empty() ? -1 : OpenNode(blockNode, 0);
        return descriptor < 0 ? nullptr : std::make_unique<ReadLock>(descriptor);
    }

    std::string MountPointOf(const std::string& deviceNumber) override {
        return deviceNumber.empty() ? std::string()
                                    : MountPointIn(ReadWholeTable(kMountInfo), deviceNumber);
    }
};

}  // namespace

DriveClaims& SystemDriveClaims() {
    static PosixDriveClaims claims;
    return claims;
}
