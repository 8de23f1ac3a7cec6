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

// A drive letter path, "E:" (either case), as the letter C to Z; 0 for anything else.
char DriveLetterOf(const std::string& devicePath) {
    if (devicePath.size() != 2 || devicePath[1] != ':') {
        return 0;
    }
    char letter = devicePath[0];
    if (letter >= 'a' && letter <= 'z') {
        letter = static_cast<char>(letter - 'a' + 'A');
    }
    return (letter >= 'C' && letter <= 'Z') ? letter : 0;
}

// A call the system refused outright, as against one it could not carry out.
bool IsRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_PARAMETER ||
           error == ERROR_INVALID_HANDLE || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_INVALID_FUNCTION || error == ERROR_INSUFFICIENT_BUFFER;
}

class Win32ScsiTransport : public ScsiTransport {
public:
    OpenResult Open(const std::string& devicePath) override {
        OpenResult result;
        const char letter = DriveLetterOf(devicePath);
        if (letter == 0) {
            result.osError = ERROR_PATH_NOT_FOUND;
            return result;
        }
        char path[256] = {'\\', '\\', '.', '\\', letter, ':'};
        HANDLE device =
            CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (device == INVALID_HANDLE_VALUE) {
            result.osError = static_cast<int>(GetLastError());
            return result;
        }
        result.handle = reinterpret_cast<DeviceHandle>(device);
        return result;
    }

    void Close(DeviceHandle handle) override {
        if (handle != kNoDevice) {
            CloseHandle(reinterpret_cast<HANDLE>(handle));
        }
    }

    // The system writes the status, the sense bytes and the counts of sense and data bytes
    // actually moved back into the record.
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        TransportResult result;
        if (handle == kNoDevice) {
            result.outcome = TransportOutcome::kRejected;
            return result;
        }
        const uint32_t requested = request.header.DataTransferLength;
        DWORD returned = 0;
        const BOOL sent = DeviceIoControl(
            reinterpret_cast<HANDLE>(handle), IOCTL_SCSI_PASS_THROUGH_DIRECT, &request,
            sizeof(PassThroughRequest), &request, sizeof(PassThroughRequest), &returned, nullptr);
        if (sent == FALSE) {
            const DWORD error = GetLastError();
            result.outcome =
                IsRefusal(error) ? TransportOutcome::kRejected : TransportOutcome::kOsError;
            result.osError = static_cast<int>(error);
            return result;
        }
        result.senseLength = request.header.SenseInfoLength;
        if (request.header.DataIn == kScsiDataIn) {
            const uint32_t moved = request.header.DataTransferLength;
            result.bytesTransferred = moved < requested ? moved : requested;
        }
        return result;
    }
};

}  // namespace

std::unique_ptr<ScsiTransport> CreateSystemScsiTransport() {
    return std::unique_ptr<ScsiTransport>(new Win32ScsiTransport);
}
