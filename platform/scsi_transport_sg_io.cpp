// The pass-through on Linux: SG_IO on the CD-ROM nodes. Drive letter C is /dev/sr0, D is
// /dev/sr1, and so on up to Z, /dev/sr23. The record is translated field by field into an
// sg_io_hdr; the sense data lands directly in the record's sense area.
#include <fcntl.h>
#include <scsi/sg.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

#include "platform/system_scsi_transport.h"

namespace {

constexpr int kDriverSense = 0x08;  // driver status bit that only says sense data came back

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

class SgIoTransport : public ScsiTransport {
public:
    DeviceHandle Open(char driveLetter) override {
        if (driveLetter < 'C' || driveLetter > 'Z') {
            return kNoDevice;
        }
        char path[32];
        std::snprintf(path, sizeof(path), "/dev/sr%d", driveLetter - 'C');
        int descriptor = open(path, O_RDWR | O_NONBLOCK);
        return descriptor < 0 ? kNoDevice : static_cast<DeviceHandle>(descriptor);
    }

    void Close(DeviceHandle handle) override {
        if (handle != kNoDevice) {
            close(static_cast<int>(handle));
        }
    }

    bool Execute(DeviceHandle handle, PassThroughRequest& request) override {
        ScsiPassThroughDirect& header = request.header;
        if (handle == kNoDevice || header.CdbLength > sizeof(header.Cdb)) {
            return false;
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
            return false;
        }
        // A host or driver failure (time-out, lost connection) with a GOOD status byte means
        // the command did not run to its end: report it as not carried out.
        if (io.status == 0 && (io.host_status != 0 || (io.driver_status & ~kDriverSense) != 0)) {
            return false;
        }
        header.ScsiStatus = io.status;
        // As the Windows pass-through does: the record tells how many bytes actually moved.
        if (io.resid > 0 && static_cast<unsigned int>(io.resid) <= io.dxfer_len) {
            header.DataTransferLength = io.dxfer_len - static_cast<unsigned int>(io.resid);
        }
        return true;
    }
};

}  // namespace

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport() {
    return std::make_unique<SgIoTransport>();
}
