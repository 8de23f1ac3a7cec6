// The command line of velmora-drive, read with CLI11: one command (list, show, set, restore,
// report) with its options, and the options every command takes (--json or -j, --trace,
// --demo, --replay FILE). --help (also per command) and --version are answered here. CLI11's
// exceptions do not leave this file.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_report.h"
#include "cli/drive_system.h"
#include "settings/settings_front_end.h"

struct CliRequest {
    CliCommand command = CliCommand::kList;
    std::string device;  // the DEVICE argument; empty when not given
    bool json = false;
    bool trace = false;
    bool demo = false;
    std::string replay;   // --replay FILE: the drives a diagnostic report recorded
    bool all = false;     // list: also the devices that do not qualify
    bool dryRun = false;  // set, restore
    std::string output;   // report: the file the document goes to; empty for stdout
    // set: the settings named, with --save as their save flag; a setting not named is not
    // requested.
    SettingChoice optimalSpeed{false, 0, 0};
    SettingChoice audioMode{false, 0, 0};
};

enum class ParseStatus {
    kRun,          // a command to run
    kAnswered,     // --help or --version was printed: exit 0
    kDeviceNames,  // the shell completions ask where drives are looked for (request.demo, .replay)
    kUsageError,   // the message says what is wrong: exit 2, nothing sent
};

struct ParsedCommandLine {
    ParseStatus status = ParseStatus::kUsageError;
    CliRequest request;
    Finding error;           // for kUsageError: what is wrong
    bool jsonAsked = false;  // --json appears among the arguments, also when they are wrong
};

// The drives the request names.
inline DriveSource SourceOf(const CliRequest& request) {
    return DriveSource{request.demo, request.replay};
}

// arguments: the whole command line, program name first. Help and version texts go to out.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::ostream& out);
