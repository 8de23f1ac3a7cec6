// A diagnostic report: what the system says about itself and its optical drives, and a recording
// of the read-only session the window has at start-up with each drive worth recording: every
// supported drive, every device the system lists as an optical drive, or only the one named.
// Built for velmora-drive report and for the Linux window's "Save diagnostic report...".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "drive/command_trace.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/narrow_code_page.h"
#include "platform/optical_drive_facts.h"
#include "platform/scsi_transport.h"
#include "platform/system_description.h"
#include "report/drive_recording.h"

struct DiagnosticReport {
    SystemDescription system;
    std::vector<OpticalDriveFacts> opticalDrives;
    std::vector<DriveRecording> recordings;
    bool interrupted = false;  // a request to end the program stopped it before the next drive
};

struct DiagnosticReportRequest {
    ScsiTransport& transport;
    DriveAccessMutex& mutex;                 // the one the programs' other drive use takes
    std::vector<DriveCandidate> candidates;  // where drives are looked for, in order
    const DriveCandidate* device = nullptr;  // record this one only (of the candidates or not)
    // The candidates are simulated drives (a demo's), not devices the system has.
    bool simulatedDrives = false;
    std::string systemRoot = "/";              // the system's files under it (a test's fake tree)
    const NarrowCodePage* codePage = nullptr;  // the process's when null
    CommandTraceSink* alsoTell = nullptr;      // told of every command as well (--trace)
    std::function<bool()> interruptRequested = nullptr;  // empty: never
};

// The system's facts alone: the system and every optical drive it lists.
DiagnosticReport DescribeSystemForReport(const std::string& systemRoot);

// Records the sessions the request asks for into the report, and describes a supported drive
// found where the system lists none (a Windows drive letter of another type).
void AddDriveRecordings(const DiagnosticReportRequest& request, DiagnosticReport& report);

// Both.
DiagnosticReport BuildDiagnosticReport(const DiagnosticReportRequest& request);
