// What a command works with during one run: the request, the devices to look at, the drive
// session over the run's transport, the dry run's transport when there is one, and the report it
// fills with what it finds.
#pragma once

#include <functional>
#include <vector>

#include "cli/cli_report.h"
#include "cli/command_line.h"
#include "cli/drive_session.h"
#include "cli/dry_run_transport.h"
#include "platform/drive_candidates.h"
#include "platform/drive_claim.h"

struct CommandContext {
    const CliRequest& request;
    const std::vector<DriveCandidate>& candidates;
    DriveSession& session;
    DryRunTransport* dryRun;  // nullptr unless --dry-run
    CliReport& report;
    std::function<bool()> interruptRequested;  // empty: never
    bool rawIoAllowed = true;                  // a block node passes writes
    DriveClaims* claims = nullptr;             // the drive's lock and claim; none: nothing taken

    bool Interrupted() const { return interruptRequested && interruptRequested(); }
};
