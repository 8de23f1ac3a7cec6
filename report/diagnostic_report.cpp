#include "report/diagnostic_report.h"

#include <algorithm>
#include <memory>

#include "drive/command_runner.h"
#include "platform/process_code_page.h"

namespace {

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A drive state of the report's own, so that a window's drive and its media watcher go on as
// they were; its commands are serialised with theirs by the shared mutex.
class RecordingDrives {
public:
    explicit RecordingDrives(const DiagnosticReportRequest& request)
        : request_(request),
          recorder_(request.alsoTell),
          state_(request.transport),
          runner_(state_, request.mutex, nullptr) {
        state_.trace = &recorder_;
        state_.transportMode = kTransportModePassThrough;
        // A drive slow over its first command is recorded answering, not timed out.
        state_.modelReadTimeoutSeconds = kPatientModelReadTimeoutSeconds;
        AllocateTransferBuffers(state_.buffers);
    }
    RecordingDrives(const RecordingDrives&) = delete;
    RecordingDrives& operator=(const RecordingDrives&) = delete;

    DriveRecording Record(const DriveCandidate& candidate, bool inquire) {
        const NarrowCodePage& codePage =
            request_.codePage != nullptr ? *request_.codePage : ProcessNarrowCodePage();
        return RecordDriveSession(state_, runner_, request_.mutex, recorder_, candidate, codePage,
                                  inquire);
    }

private:
    const DiagnosticReportRequest& request_;
    CommandRecorder recorder_;
    DriveState state_;
    CommandRunner runner_;
};

bool Interrupted(const DiagnosticReportRequest& request) {
    return request.interruptRequested && request.interruptRequested();
}

// Every candidate is tried, as discovery tries them; a recording is kept for a supported drive
// and for a device the system lists as an optical drive. A drive letter that is neither may be
// any kind of drive: it gets the identification only, as from discovery.
void RecordDrives(const DiagnosticReportRequest& request, const std::vector<std::string>& listed,
                  DiagnosticReport& report) {
    RecordingDrives drives(request);
    if (request.device != nullptr) {
        report.recordings.push_back(drives.Record(*request.device, true));
        return;
    }
    for (const DriveCandidate& candidate : request.candidates) {
        if (Interrupted(request)) {
            report.interrupted = true;
            return;
        }
        const bool optical = candidate.opticalDrive || Contains(listed, candidate.name);
        DriveRecording recording = drives.Record(candidate, optical);
        if (optical || recording.probe == ProbeOutcome::kSupported) {
            report.recordings.push_back(std::move(recording));
        }
    }
}

std::vector<std::string> ListedNames(const DiagnosticReport& report) {
    std::vector<std::string> names;
    for (const OpticalDriveFacts& drive : report.opticalDrives) {
        if (drive.listed) {
            names.push_back(drive.name);
        }
    }
    return names;
}

}  // namespace

DiagnosticReport DescribeSystemForReport(const std::string& systemRoot) {
    DiagnosticReport report;
    report.system = DescribeSystem(systemRoot);
    for (const std::string& name : ListedOpticalDriveNames(systemRoot)) {
        report.opticalDrives.push_back(DescribeOpticalDrive(systemRoot, name, true));
    }
    return report;
}

void AddDriveRecordings(const DiagnosticReportRequest& request, DiagnosticReport& report) {
    const std::vector<std::string> listed = ListedNames(report);
    RecordDrives(request, listed, report);
    // A demo's simulated drives are no devices of the system.
    for (const DriveRecording& recording : report.recordings) {
        if (!request.simulatedDrives && recording.probe == ProbeOutcome::kSupported &&
            !Contains(listed, recording.device.name)) {
            report.opticalDrives.push_back(
                DescribeOpticalDrive(request.systemRoot, recording.device.name, false));
        }
    }
}

DiagnosticReport BuildDiagnosticReport(const DiagnosticReportRequest& request) {
    DiagnosticReport report = DescribeSystemForReport(request.systemRoot);
    AddDriveRecordings(request, report);
    return report;
}
