// A diagnostic report (velmora-drive report, the Linux window's "Save diagnostic report...")
// loaded as simulated drives: each recording becomes a drive at the recorded device path, which
// answers every recorded command as recorded and is otherwise the simulated model, configured
// from the recording's model buffer, INQUIRY, settings page and ready byte (sim/simulated_drive.h
// says how it answers). A report a user sends is thereby a drive the tests and both programs can
// use (velmora-drive --replay FILE, the native demo's --replay FILE).
//
// Only the fields report/README.md names for a replay are read: json_format_version (major 1,
// any minor), command, and of each recording the device, busy, opened, open_error, disc_present
// and the commands with their cdb, direction, transfer_length, outcome, os_error, scsi_status,
// sense, transferred, data_in, data_in_withheld and microseconds. A recording of a busy drive
// has nothing to replay and is left out. Nothing here throws: every problem is a status.
#pragma once

#include <string>
#include <vector>

#include "platform/drive_candidates.h"
#include "sim/recorded_answer.h"
#include "sim/simulated_drive.h"
#include "sim/simulated_transport.h"

struct ReplayedDrive {
    DriveCandidate device;  // the recorded name and path; an optical drive when the report's
                            // optical_drives lists its name
    bool opens = true;      // false: the system refused the open, with openError
    int openError = 0;
    SimulatedDriveConfig model;
    std::vector<RecordedAnswer> answers;
};

struct ReplayedReport {
    std::vector<ReplayedDrive> drives;  // in the report's order
};

enum class ReplayStatus {
    kLoaded,
    kUnreadable,  // the file could not be read
    kNotJson,     // not a JSON document
    kNotReport,   // JSON, but no report of a format this program reads
    kMalformed,   // a field a replay needs is missing or wrong
};

struct ReplayLoad {
    ReplayStatus status = ReplayStatus::kMalformed;
    std::string detail;  // what is wrong and where, in English ("recordings[0].commands[2].cdb:
                         // not hex"); empty when loaded
    bool Loaded() const { return status == ReplayStatus::kLoaded; }
};

// The longest time a recorded answer is replayed to take: longer ones (a report edited by hand)
// take this long, and the command's own time-out cuts them shorter still.
constexpr uint32_t kLongestReplayedAnswerMicroseconds = 30000000;
// A report file larger than this is refused unread.
constexpr size_t kLargestReportBytes = 64u << 20;

ReplayLoad ParseReplayedReport(const std::string& text, ReplayedReport* report);
ReplayLoad LoadReplayedReport(const std::string& path, ReplayedReport* report);

// Places every drive of the report in the transport, at its recorded path (replacing any drive
// there), and refuses the open of those the system refused then.
void PlaceReplayedDrives(const ReplayedReport& report, SimulatedTransport& transport);

// Where discovery looks for them, in the report's order.
std::vector<DriveCandidate> ReplayedCandidates(const ReplayedReport& report);
