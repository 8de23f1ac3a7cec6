#include "cli/system_error.h"

#include "platform/os_error.h"

bool IsAbsentDevice(int osError) {
    return ClassifyOsError(osError) == OsErrorKind::kNoSuchDevice;
}

bool IsTimeout(int osError) {
    return ClassifyOsError(osError) == OsErrorKind::kTimeout;
}

bool IsBusy(int osError) {
    return ClassifyOsError(osError) == OsErrorKind::kBusy;
}

bool IsDeviceError(int osError) {
    return ClassifyOsError(osError) == OsErrorKind::kDeviceError;
}

std::string SystemErrorText(int osError) {
    return DescribeOsError(osError);
}
