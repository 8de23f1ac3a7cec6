#include "cli/report_command.h"

#include <cerrno>
#include <fstream>
#include <memory>

#include "cli/cli_texts.h"
#include "cli/command_observer.h"
#include "cli/device_argument.h"
#include "cli/drive_finder.h"
#include "cli/exit_codes.h"
#include "cli/human_output.h"
#include "cli/message_text.h"
#include "cli/program_version.h"
#include "cli/report_vocabulary.h"
#include "cli/run_verdict.h"
#include "cli/system_error.h"
#include "report/report_document.h"
#include "res/resource_catalog.h"
#include "res/resource_ids.h"

namespace {

const char kProgramName[] = "velmora-drive";

std::vector<std::string> CandidateNames(const std::vector<DriveCandidate>& candidates) {
    std::vector<std::string> names;
    for (const DriveCandidate& candidate : candidates) {
        names.push_back(candidate.name);
    }
    return names;
}

constexpr uint8_t kOpReadBuffer = 0x3C;

// The model read is the last READ BUFFER of the identification: a unit attention's retry follows
// the first.
void NoteRecordedIdentification(const DriveRecording& recording, CliReport& verdict) {
    DeviceReport device;
    device.device = recording.device;
    device.identification = recording.identification;
    device.modelReplyBytes = recording.modelReplyBytes;
    for (const RecordedCommand& command : recording.commands) {
        if (command.step == kStepIdentification && command.traced.cdb[0] == kOpReadBuffer) {
            device.identificationFailure = FailureOf(command.traced);
        }
    }
    NoteIdentificationProblem(verdict, device);
}

// The drives' part of the report; without drives (or without the drive named) the system's
// facts are all it has.
void RecordDrives(const CliRequest& request, const CliEnvironment& environment, DriveSystem& drives,
                  CliReport& verdict, DiagnosticReport& diagnostic) {
    const std::unique_ptr<DriveAccessMutex> mutex = drives.AccessMutex();
    if (mutex == nullptr) {
        verdict.Note(Finding{FindingKind::kCannotStart});
        return;
    }
    const std::vector<DriveCandidate> candidates = drives.Candidates();
    const DriveCandidate* device = nullptr;
    if (!request.device.empty()) {
        device = FindDeviceCandidate(candidates, request.device);
        if (device == nullptr) {
            verdict.Note(
                Finding{FindingKind::kNoSuchDevice, request.device, 0, CandidateNames(candidates)});
            return;
        }
    }
    CommandObserver trace(request.trace ? &environment.err : nullptr);
    DiagnosticReportRequest asked{drives.Transport(), *mutex, candidates, device};
    asked.simulatedDrives = request.demo || !request.replay.empty();
    asked.systemRoot = environment.systemRoot;
    asked.alsoTell = &trace;
    asked.interruptRequested = environment.interruptRequested;
    AddDriveRecordings(asked, diagnostic);
    for (const DriveRecording& recording : diagnostic.recordings) {
        if (recording.busy) {
            verdict.Note(Finding{FindingKind::kDriveBusy, recording.device.name});
        }
        NoteRecordedIdentification(recording, verdict);
    }
    if (diagnostic.interrupted) {
        verdict.Note(Finding{FindingKind::kInterrupted});
    }
}

ReportProgram Program(const CliReport& verdict, bool demo) {
    const CliTexts english(kLanguageEnglish);
    ReportProgram program;
    program.name = kProgramName;
    program.version = ProgramVersion();
    program.arguments = verdict.arguments;
    program.demo = demo;
    for (const CliMessage& message : verdict.messages) {
        program.messages.push_back(
            {MessageText(message, english), message.code, SeverityWord(message.severity)});
    }
    program.exitStatus = verdict.exitCode;
    return program;
}

void TellFileNotWritten(const CliRequest& request, const CliEnvironment& environment, int error) {
    environment.err << kProgramName << ": "
                    << CliTexts(environment.language)
                           .Format(IDS_CLI_REPORT_NOT_WRITTEN,
                                   {request.output, SystemErrorText(error != 0 ? error : EIO)})
                    << "\n";
}

// The report itself: the system, then the drives; its messages on stderr.
std::string MakeReport(const CliRequest& request, const std::vector<std::string>& arguments,
                       const CliEnvironment& environment, int* exitCode) {
    CliReport verdict;
    verdict.command = CliCommand::kReport;
    verdict.arguments = arguments;
    const bool simulated = request.demo || !request.replay.empty();
    verdict.demo = simulated;
    DiagnosticReport diagnostic = DescribeSystemForReport(environment.systemRoot);
    const std::unique_ptr<DriveSystem> drives =
        environment.drives ? environment.drives(SourceOf(request)) : nullptr;
    if (drives == nullptr) {
        verdict.Note(Finding{FindingKind::kCannotStart});
    } else if (!drives->Problem().empty()) {
        verdict.Note(Finding{FindingKind::kReplayUnusable, request.replay, 0, {drives->Problem()}});
    } else {
        RecordDrives(request, environment, *drives, verdict, diagnostic);
    }
    ConcludeReport(verdict, environment.remedy);
    // The document is data on stdout: the messages, in the user's language, go to stderr.
    WriteHumanOutput(verdict, CliTexts(environment.language), environment.err, environment.err);
    *exitCode = verdict.exitCode;
    return FormatReportDocument(Program(verdict, simulated), diagnostic);
}

// The file is opened before anything is sent, so that one that cannot be written costs the
// drives no command.
int ReportToFile(const CliRequest& request, const std::vector<std::string>& arguments,
                 const CliEnvironment& environment) {
    errno = 0;
    std::ofstream file(request.output, std::ios::binary | std::ios::trunc);
    if (!file) {
        TellFileNotWritten(request, environment, errno);
        return ExitCodeAfterOutput(kExitOutputFailed, OutputFlushed(environment));
    }
    int code = kExitSuccess;
    file << MakeReport(request, arguments, environment, &code);
    errno = 0;
    file.close();
    if (!file) {
        TellFileNotWritten(request, environment, errno);
        return ExitCodeAfterOutput(ExitCodeAfterOutput(code, false), OutputFlushed(environment));
    }
    environment.out
        << CliTexts(environment.language).Format(IDS_CLI_REPORT_WRITTEN, {request.output}) << "\n";
    return ExitCodeAfterOutput(code, OutputFlushed(environment));
}

}  // namespace

int RunReportCommand(const CliRequest& request, const std::vector<std::string>& arguments,
                     const CliEnvironment& environment) {
    if (!request.output.empty()) {
        return ReportToFile(request, arguments, environment);
    }
    int code = kExitSuccess;
    environment.out << MakeReport(request, arguments, environment, &code);
    return ExitCodeAfterOutput(code, OutputFlushed(environment));
}
