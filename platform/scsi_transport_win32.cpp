// Windows pass-through: the drive is opened as \\.\X: and every command is one
// DeviceIoControl(IOCTL_SCSI_PASS_THROUGH_DIRECT) with the record as input and output buffer.
#include <windows.h>

#include <winioctl.h>  // not part of windows.h with WIN32_LEAN_AND_MEAN

#include <ntddscsi.h>

#include <cstddef>

#include "platform/pass_through_record.h"
#include "platform/system_scsi_transport.h"

// The record's header is handed to the system unchanged, so it must be the system's structure.
static_assert(sizeof(ScsiPassThroughDirect) == sizeof(SCSI_PASS_THROUGH_DIRECT), "header size");
#define SAME_OFFSET(field)                                                                   \
    static_assert(                                                                           \
        offsetof(ScsiPassThroughDirect, field) == offsetof(SCSI_PASS_THROUGH_DIRECT, field), \
        #field)
SAME_OFFSET(ScsiStatus);
SAME_OFFSET(CdbLength);
SAME_OFFSET(SenseInfoLength);
SAME_OFFSET(DataIn);
SAME_OFFSET(DataTransferLength);
SAME_OFFSET(TimeOutValue);
SAME_OFFSET(DataBuffer);
SAME_OFFSET(SenseInfoOffset);
SAME_OFFSET(Cdb);
#undef SAME_OFFSET
static_assert(kScsiDataOut == SCSI_IOCTL_DATA_OUT && kScsiDataIn == SCSI_IOCTL_DATA_IN &&
                  kScsiDataUnspecified == SCSI_IOCTL_DATA_UNSPECIFIED,
              "direction codes");
static_assert(IOCTL_SCSI_PASS_THROUGH_DIRECT == 0x4D014, "pass-through control code");

namespace {

class Win32ScsiTransport : public ScsiTransport {
public:
    DeviceHandle Open(char driveLetter) override {
        if (driveLetter >= 'a' && driveLetter <= 'z') {
            driveLetter = static_cast<char>(driveLetter - 'a' + 'A');
        }
        if (driveLetter < 'C' || driveLetter > 'Z') {
            return kNoDevice;
        }
        char path[256] = {'\\', '\\', '.', '\\', driveLetter, ':'};
        HANDLE device =
            CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (device == INVALID_HANDLE_VALUE) {
            return kNoDevice;
        }
        return reinterpret_cast<DeviceHandle>(device);
    }

    void Close(DeviceHandle handle) override {
        if (handle != kNoDevice) {
            CloseHandle(reinterpret_cast<HANDLE>(handle));
        }
    }

    bool Execute(DeviceHandle handle, PassThroughRequest& request) override {
        if (handle == kNoDevice) {
            return false;
        }
        DWORD returned = 0;
        const BOOL sent = DeviceIoControl(
            reinterpret_cast<HANDLE>(handle), IOCTL_SCSI_PASS_THROUGH_DIRECT, &request,
            sizeof(PassThroughRequest), &request, sizeof(PassThroughRequest), &returned, nullptr);
        return sent != FALSE;
    }
};

}  // namespace

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport() {
    return std::unique_ptr<ScsiTransport>(new Win32ScsiTransport);
}
