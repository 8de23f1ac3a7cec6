// The Linux window's diagnostic report: the same document velmora-drive report prints, made from
// the window's own transport and drive list, its program block naming the window.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/drive_candidates.h"
#include "platform/scsi_transport.h"
#include "ui/diagnostic_report_saver.h"

// programName: "velmora-drive-utility"; arguments: the window's command line, its name first.
// The transport must outlive the report maker.
DiagnosticReportMaker WindowDiagnosticReport(
    ScsiTransport& transport, std::function<std::vector<DriveCandidate>()> listCandidates,
    std::string programName, std::vector<std::string> arguments);
