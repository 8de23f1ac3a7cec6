// The whole program on a dialog backend, with its drives reached through a transport: the real
// executable passes the system's pass-through, a demo can pass simulated drives.
#pragma once

#include <functional>
#include <vector>

#include "dialog/dialog_backend.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/scsi_transport.h"
#include "ui/diagnostic_report_saver.h"

extern const char kSingleInstanceName[];

// What sets one program apart from another built on the same window.
struct ProgramIdentity {
    const char* instanceName = kSingleInstanceName;  // the single-instance object (narrow bytes)
    const char* mutexName = kDriveAccessMutexName;   // shared with every process that uses it
    std::function<std::vector<DriveCandidate>()> listCandidates = ListSystemDriveCandidates;
    // The Linux window: the diagnostic report its menu offers, made through the program's
    // transport; empty for none (the Windows window).
    std::function<DiagnosticReportMaker(ScsiTransport& transport)> diagnosticReport;
    // How long the model read of discovery may take (drive/drive_state.h): the Windows window's
    // 1 s unless the program waits for drives that are slow over their first command.
    int32_t modelReadTimeoutSeconds = kModelReadTimeoutSeconds;
};

// Builds the process's drive state and services, runs the application and returns its exit code.
int RunDriveUtility(DialogBackend& backend, ScsiTransport& transport,
                    const ProgramIdentity& identity = {});
