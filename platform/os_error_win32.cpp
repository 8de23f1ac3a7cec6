#include <windows.h>

#include <string>

#include "platform/os_error.h"

OsErrorKind ClassifyOsError(int osError) {
    switch (static_cast<DWORD>(osError)) {
        case ERROR_SUCCESS:
            return OsErrorKind::kNone;
        case ERROR_ACCESS_DENIED:
        case ERROR_PRIVILEGE_NOT_HELD:
            return OsErrorKind::kPermission;
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_NOT_READY:
            return OsErrorKind::kNoSuchDevice;
        case ERROR_SEM_TIMEOUT:
        case ERROR_TIMEOUT:
            return OsErrorKind::kTimeout;
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
        case ERROR_DRIVE_LOCKED:
            return OsErrorKind::kBusy;
        case ERROR_IO_DEVICE:
            return OsErrorKind::kDeviceError;
        default:
            return OsErrorKind::kOther;
    }
}

std::string DescribeOsError(int osError) {
    char buffer[512] = {};
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(osError), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text.empty() ? "error " + std::to_string(osError) : text;
}
