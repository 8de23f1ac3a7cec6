#include "cli/cli_program.h"

#include <memory>

#include "cli/cli_texts.h"
#include "cli/command_context.h"
#include "cli/exit_codes.h"
#include "cli/human_output.h"
#include "cli/json_output.h"
#include "cli/list_command.h"
#include "cli/report_command.h"
#include "cli/run_verdict.h"
#include "cli/show_command.h"
#include "cli/write_command.h"

namespace {

void Print(const CliReport& report, bool json, const CliEnvironment& environment) {
    if (json) {
        WriteJsonOutput(report, environment.out);
    } else {
        WriteHumanOutput(report, CliTexts(environment.language, environment.codeset),
                         environment.out, environment.err);
    }
}

void RunCommand(CommandContext& context) {
    switch (context.request.command) {
        case CliCommand::kList:
            RunListCommand(context);
            return;
        case CliCommand::kShow:
            RunShowCommand(context);
            return;
        case CliCommand::kSet:
        case CliCommand::kRestore:
            RunWriteCommand(context);
            return;
        case CliCommand::kReport:  // RunReportCommand: a document of its own
        case CliCommand::kNone:
            return;
    }
}

// Runs the request against the drives; the report's findings say how it went.
void RunRequest(const CliRequest& request, const CliEnvironment& environment, CliReport& report) {
    const std::unique_ptr<DriveSystem> drives =
        environment.drives ? environment.drives(SourceOf(request)) : nullptr;
    if (drives == nullptr) {
        report.Note(Finding{FindingKind::kCannotStart});
        return;
    }
    if (!drives->Problem().empty()) {
        report.Note(Finding{FindingKind::kReplayUnusable, request.replay, 0, {drives->Problem()}});
        return;
    }
    CommandObserver observer(request.trace ? &environment.err : nullptr);
    std::unique_ptr<DryRunTransport> dryRun;
    if (request.dryRun) {
        dryRun = std::make_unique<DryRunTransport>(drives->Transport());
        observer.MarkWithheldCommands(IsWithheldByDryRun);
    }
    DriveSession session(dryRun != nullptr ? *dryRun : drives->Transport(), observer,
                         drives->AccessMutex());
    if (!session.CanSend()) {
        report.Note(Finding{FindingKind::kCannotStart});
        return;
    }
    const std::vector<DriveCandidate> candidates = drives->Candidates();
    CommandContext context{request,
                           candidates,
                           session,
                           dryRun.get(),
                           report,
                           environment.interruptRequested,
                           !environment.rawIoAllowed || environment.rawIoAllowed(),
                           &drives->Claims()};
    RunCommand(context);
    for (DeviceReport& device : report.devices) {
        device.names = drives->NamesOf(device.device);
    }
    if (context.Interrupted()) {
        report.Note(Finding{FindingKind::kInterrupted});
    }
}

// The names of the devices where drives are looked for, one a line, for the shell completions:
// nothing is opened, so that completing a command line never waits for a drive or disturbs one.
int PrintDeviceNames(const CliRequest& request, const CliEnvironment& environment) {
    const std::unique_ptr<DriveSystem> drives =
        environment.drives ? environment.drives(SourceOf(request)) : nullptr;
    if (drives == nullptr || !drives->Problem().empty()) {
        return kExitInternalError;
    }
    for (const DriveCandidate& candidate : drives->Candidates()) {
        environment.out << candidate.name << "\n";
    }
    return ExitCodeAfterOutput(kExitSuccess, OutputFlushed(environment));
}

}  // namespace

bool OutputFlushed(const CliEnvironment& environment) {
    environment.out.flush();
    environment.err.flush();
    if (environment.out.good() && environment.err.good()) {
        return true;
    }
    if (environment.err.good()) {
        CliReport failed;
        failed.Note(Finding{FindingKind::kOutputFailed});
        ConcludeReport(failed, environment.remedy);
        WriteHumanOutput(failed, CliTexts(environment.language, environment.codeset),
                         environment.err, environment.err);
        environment.err.flush();
    }
    return false;
}

// One direction: read the command line, find and work the drive, conclude, print.
int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment) {
    const ParsedCommandLine parsed = ParseCommandLine(arguments, environment.out);
    if (parsed.status == ParseStatus::kAnswered) {
        return ExitCodeAfterOutput(kExitSuccess, OutputFlushed(environment));
    }
    if (parsed.status == ParseStatus::kDeviceNames) {
        return PrintDeviceNames(parsed.request, environment);
    }
    if (parsed.status == ParseStatus::kRun && parsed.request.command == CliCommand::kReport) {
        return RunReportCommand(parsed.request, arguments, environment);
    }
    CliReport report;
    report.arguments = arguments;
    if (parsed.status == ParseStatus::kUsageError) {
        report.Note(parsed.error);
    } else {
        report.command = parsed.request.command;
        report.demo = parsed.request.demo || !parsed.request.replay.empty();
        RunRequest(parsed.request, environment, report);
    }
    ConcludeReport(report, environment.remedy);
    const bool json =
        parsed.status == ParseStatus::kUsageError ? parsed.jsonAsked : parsed.request.json;
    Print(report, json, environment);
    return ExitCodeAfterOutput(report.exitCode, OutputFlushed(environment));
}
