// The pass-through on Linux: SG_IO on the node the drive list names. The record is translated
// field by field into an sg_io_hdr; the sense data lands directly in the record's sense area.
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <memory>

#include "platform/node_identity.h"
#include "platform/system_scsi_transport.h"

namespace {

constexpr int kDriverSense = 0x08;    // driver status bit that only says sense data came back
constexpr int kDriverTimeout = 0x06;  // driver status: the command timed out
constexpr int kHostTimeout = 0x03;    // host status DID_TIME_OUT

// On a block node the kernel raises a timeout below 7 s to 7 s (scsi_fill_sghdr_rq(),
// BLK_MIN_SG_TIMEOUT); the sg node keeps what is asked.
unsigned int TimeoutMilliseconds(uint32_t seconds) {
    constexpr uint32_t kMaxSeconds = std::numeric_limits<unsigned int>::max() / 1000u;
    return static_cast<unsigned int>(std::min(seconds, kMaxSeconds)) * 1000u;
}

int DataDirection(const ScsiPassThroughDirect& header) {
    if (header.DataTransferLength == 0) {
        return SG_DXFER_NONE;
    }
    switch (header.DataIn) {
        case kScsiDataIn:
            return SG_DXFER_FROM_DEV;
        case kScsiDataOut:
            return SG_DXFER_TO_DEV;
        default:
            return SG_DXFER_TO_FROM_DEV;  // unspecified: the buffer may be read and written
    }
}

// An ioctl that fails: a refusal of the request itself (no right, a bad record) is told apart
// from the system failing to carry it out.
TransportResult FailedCall(int error) {
    TransportResult result;
    const bool refused = error == EPERM || error == EACCES || error == EINVAL || error == EFAULT ||
                         error == EBADF || error == ENOTTY;
    result.outcome = refused ? TransportOutcome::kRejected : TransportOutcome::kOsError;
    result.osError = error;
    return result;
}

// A host or driver failure (time-out, lost connection) with a GOOD status byte means the command
// did not run to its end.
bool DidNotRunToItsEnd(const sg_io_hdr_t& io) {
    return io.status == 0 && (io.host_status != 0 || (io.driver_status & ~kDriverSense) != 0);
}

TransportResult Incomplete(const sg_io_hdr_t& io) {
    TransportResult result;
    result.outcome = TransportOutcome::kOsError;
    const bool timedOut =
        io.host_status == kHostTimeout || (io.driver_status & 0x0F) == kDriverTimeout;
    result.osError = timedOut ? ETIMEDOUT : EIO;
    return result;
}

class SgIoTransport : public ScsiTransport {
public:
    OpenResult Open(const std::string& devicePath) override {
        OpenResult result;
        if (devicePath.empty()) {
            result.osError = ENOENT;
            return result;
        }
        // Read-write, on the sg node as on the block node: the sg driver checks commands only
        // for a descriptor not opened O_RDWR (sg_ioctl_common() and sg_new_write() in
        // drivers/scsi/sg.c; see platform/sysfs_optical_drives.cpp). O_NONBLOCK: an sr node opens
        // without a disc in the drive, and an sg node held with O_EXCL by another process fails
        // with EBUSY at once instead of waiting (sg_open()).
        const int descriptor = open(devicePath.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0) {
            result.osError = errno;
            return result;
        }
        result.handle = static_cast<DeviceHandle>(descriptor);
        return result;
    }

    void Close(DeviceHandle handle) override {
        if (handle != kNoDevice) {
            close(static_cast<int>(handle));
        }
    }

    NodeCheck CheckNode(DeviceHandle handle, const DriveCandidate& listed) override {
        return handle == kNoDevice ? NodeCheck::kOtherDevice
                                   : CheckOpenNode(static_cast<int>(handle), listed, "/");
    }

    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        ScsiPassThroughDirect& header = request.header;
        if (handle == kNoDevice || header.CdbLength > sizeof(header.Cdb)) {
            TransportResult rejected;
            rejected.outcome = TransportOutcome::kRejected;
            return rejected;
        }
        sg_io_hdr_t io{};
        io.interface_id = 'S';
        io.cmd_len = header.CdbLength;
        io.cmdp = header.Cdb;
        io.dxfer_direction = DataDirection(header);
        io.dxfer_len = header.DataTransferLength;
        io.dxferp = header.DataBuffer;
        io.timeout = TimeoutMilliseconds(header.TimeOutValue);
        io.sbp = request.sense;
        io.mx_sb_len = static_cast<unsigned char>(
            std::min<size_t>(header.SenseInfoLength, sizeof(request.sense)));
        if (ioctl(static_cast<int>(handle), SG_IO, &io) < 0) {
            return FailedCall(errno);
        }
        if (DidNotRunToItsEnd(io)) {
            return Incomplete(io);
        }
        header.ScsiStatus = io.status;
        TransportResult result;
        result.senseLength = io.sb_len_wr;
        if (header.DataIn == kScsiDataIn) {
            const unsigned int resid =
                io.resid > 0 ? std::min(static_cast<unsigned int>(io.resid), io.dxfer_len) : 0u;
            result.bytesTransferred = io.dxfer_len - resid;
        }
        return result;
    }
};

}  // namespace

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport() {
    return std::make_unique<SgIoTransport>();
}
