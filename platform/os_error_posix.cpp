#include <cerrno>
#include <cstring>

#include "platform/os_error.h"

OsErrorKind ClassifyOsError(int osError) {
    switch (osError) {
        case 0:
            return OsErrorKind::kNone;
        case EACCES:
        case EPERM:
        case EROFS:
            return OsErrorKind::kPermission;
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return OsErrorKind::kNoSuchDevice;
        case ETIMEDOUT:
            return OsErrorKind::kTimeout;
        case EBUSY:
            return OsErrorKind::kBusy;
        case EIO:
            return OsErrorKind::kDeviceError;
        default:
            return OsErrorKind::kOther;
    }
}

std::string DescribeOsError(int osError) {
    char buffer[256] = {};
    // The GNU form returns the text, which need not be the buffer.
    return strerror_r(osError, buffer, sizeof buffer);
}
