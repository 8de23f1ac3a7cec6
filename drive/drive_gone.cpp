// os_error.h comes first: its OsErrorKind::kNoSuchDevice would shadow the transport's kNoDevice.
#include "platform/os_error.h"

#include "drive/drive_gone.h"

bool ReportsDriveGone(const TransportResult& result) {
    return result.outcome == TransportOutcome::kOsError &&
           ClassifyOsError(result.osError) == OsErrorKind::kNoSuchDevice;
}
