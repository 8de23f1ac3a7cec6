// os_error.h comes first: its OsErrorKind::kNoDevice would shadow the transport's kNoDevice.
#include "platform/os_error.h"

#include "drive/permission_refusal.h"

bool IsPermissionError(int osError) {
    return ClassifyOsError(osError) == OsErrorKind::kPermission;
}

bool RefusedForWantOfRights(const TransportResult& result) {
    return !result.Sent() && IsPermissionError(result.osError);
}
