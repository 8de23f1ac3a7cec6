#include "app/diagnostic_report_service.h"

#include <utility>

#include "report/report_document.h"

DiagnosticReportMaker WindowDiagnosticReport(
    ScsiTransport& transport, std::function<std::vector<DriveCandidate>()> listCandidates,
    std::string programName, std::vector<std::string> arguments) {
    return [&transport, listCandidates = std::move(listCandidates),
            programName = std::move(programName),
            arguments = std::move(arguments)](DriveAccessMutex& mutex) {
        const DiagnosticReportRequest request{transport, mutex, listCandidates()};
        ReportProgram program;
        program.name = programName;
        program.version = DRIVE_UTILITY_VERSION;  // defined for this file from the project version
        program.arguments = arguments;
        return FormatReportDocument(program, BuildDiagnosticReport(request));
    };
}
