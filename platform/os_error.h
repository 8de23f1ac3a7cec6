// What the portable code needs to know about an operating-system error number (errno on Linux,
// GetLastError() on Windows) to give the user the right words.
#pragma once

#include <string>

enum class OsErrorKind {
    kNone,          // 0: no error
    kPermission,    // the user lacks the right (EACCES, EPERM; ERROR_ACCESS_DENIED)
    kNoSuchDevice,  // nothing there, or it went away (ENOENT, ENODEV, ENXIO; ERROR_FILE_NOT_FOUND)
    kTimeout,       // the command did not end in time (ETIMEDOUT; ERROR_SEM_TIMEOUT)
    kBusy,          // another opener holds the device (EBUSY; ERROR_SHARING_VIOLATION, ERROR_BUSY)
    kDeviceError,   // the device did not answer the system (EIO; ERROR_IO_DEVICE)
    kOther,
};

OsErrorKind ClassifyOsError(int osError);

// The system's own text for the number ("Permission denied"), for traces and diagnostics.
std::string DescribeOsError(int osError);
