#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include "cli/program_version.h"
#include "res/resource_ids.h"

namespace {

const char kProgramName[] = "velmora-drive";

const char kDescription[] =
    "Reads and changes the two vendor settings of Velmora CD-R recorder drives: Optimal Writing "
    "Speed (on, off) and Audio Optimized Write Mode (high or low speed playback), each optionally "
    "saved in the drive. Every write is confirmed by reading the settings back.";

const char kExitCodes[] =
    "Exit codes:\n"
    "  0  success; for set and restore, every requested value was confirmed by reading it back\n"
    "  1  the drive access could not be prepared (memory, threads)\n"
    "  2  bad command line; nothing was sent to any drive\n"
    "  3  no such device, not a supported drive, or no supported drive connected\n"
    "  4  the system refused the device or a command for want of rights\n"
    "  5  the drive refused a command, or did not answer in time\n"
    "  6  a value written was not confirmed by reading it back\n"
    "  7  a write refused because the drive is not ready (a disc in it, or being set up)\n"
    "  8  a setting was asked for that the drive does not have\n"
    "  9  the drive is in use by another program (waited 10 seconds), or its disc is mounted\n"
    " 10  interrupted (a signal, Ctrl+C): stopped before the next write\n"
    " 11  the output could not be written (a closed pipe, a full disk)\n"
    "When several apply, the lowest is returned. A dry run returns what the write would meet.\n";

const char kDemoHelp[] =
    "Use the demo's two simulated drives instead of the system's: E: (both settings) and G: "
    "(Optimal Writing Speed only, the other model). Values written to them last for this run "
    "only.";

const char kReplayHelp[] =
    "Use the drives a diagnostic report (velmora-drive report) recorded instead of the system's: "
    "each answers the commands it answered then, and writes and their read-back as the simulated "
    "drive does. Values written last for this run only.";

const char kSetFooter[] =
    "Only the settings named are written. With --save, a disc in the drive is first stopped (not "
    "ejected). The audio mode can be changed only while the drive is ready for it (no disc in "
    "it). Optimal Writing Speed is written up to six times until the drive confirms it.\n";

const char kRestoreFooter[] =
    "Writes the factory values of the settings the drive has, both saved: Optimal Writing Speed "
    "off, Audio Optimized Write Mode high speed playback. A disc in the drive is first stopped "
    "(not ejected).\n";

const char kJsonHelp[] =
    "Print one JSON document on stdout (texts in English, each with a code; values as on/off and "
    "high/low), as /usr/share/velmora-drive-utility/velmora-drive.schema.json describes it";

const char kReportFooter[] =
    "The report is one JSON document: the program's version, the system (its name and version, "
    "the kernel, the user's name and groups), every optical drive the system lists with its "
    "device nodes and how it is connected, and for each drive the commands sent and the drive's "
    "answers. Nothing is written to any drive. Of the user it names only the user's and the "
    "groups' names.\n";

const char kDeviceHelp[] =
    "The drive, as list shows it: /dev/sr0 (or another path to its node: /dev/cdrom, "
    "/dev/disk/by-id/...) on Linux, E: on Windows (and with --demo)";

// What the parse fills in beyond the request itself.
struct Parser {
    CLI::App app{kDescription, kProgramName};
    CLI::App* list = nullptr;
    CLI::App* show = nullptr;
    CLI::App* set = nullptr;
    CLI::App* restore = nullptr;
    CLI::App* deviceNames = nullptr;
    CLI::App* report = nullptr;
    std::string optimalSpeed;
    std::string audioMode;
    bool save = false;
};

void DefineCommands(Parser& parser, CliRequest& request) {
    CLI::App& app = parser.app;
    app.set_version_flag("--version", std::string(kProgramName) + " " + ProgramVersion());
    app.require_subcommand(1, 1);
    app.add_flag("-j,--json", request.json, kJsonHelp);
    app.add_flag("--trace", request.trace,
                 "Print one line per SCSI command sent to the drive on stderr, for bug reports");
    CLI::Option* demo = app.add_flag("--demo", request.demo, kDemoHelp);
    app.add_option("--replay", request.replay, kReplayHelp)->type_name("FILE")->excludes(demo);
    app.footer(kExitCodes);

    parser.list = app.add_subcommand("list", "List the supported drives and what they support");
    parser.list->add_flag("--all", request.all,
                          "Also list the devices present that are not supported drives");

    parser.show = app.add_subcommand(
        "show",
        "Show both settings of a drive: current, saved in the drive, and whether the "
        "audio mode can be changed now");
    parser.show->add_option("DEVICE", request.device,
                            std::string(kDeviceHelp) + "; without it, the only supported drive");

    parser.set = app.add_subcommand("set",
                                    "Change the settings named, confirming each by "
                                    "reading it back");
    parser.set->add_option("DEVICE", request.device, kDeviceHelp)->required();
    parser.set->add_option("--optimal-speed", parser.optimalSpeed, "Optimal Writing Speed")
        ->check(CLI::IsMember({"on", "off"}));
    parser.set
        ->add_option("--audio-mode", parser.audioMode,
                     "Audio Optimized Write Mode: high or low speed playback")
        ->check(CLI::IsMember({"high", "low"}));
    parser.set->add_flag("--save", parser.save, "Also save the values in the drive");
    parser.set->add_flag("--dry-run", request.dryRun,
                         "Print the commands that would be sent and send no write");
    parser.set->footer(std::string(kSetFooter) + "\n" + kExitCodes);

    parser.restore = app.add_subcommand("restore", "Write the factory values, both saved");
    parser.restore->add_option("DEVICE", request.device, kDeviceHelp)->required();
    parser.restore->add_flag("--dry-run", request.dryRun,
                             "Print the commands that would be sent and send no write");
    parser.restore->footer(std::string(kRestoreFooter) + "\n" + kExitCodes);

    parser.report = app.add_subcommand(
        "report",
        "Print a diagnostic report to attach to a bug report: the system, its optical "
        "drives and a recording of the commands the window sends at start (reads only)");
    parser.report->add_option("DEVICE", request.device,
                              std::string(kDeviceHelp) + "; without it, every drive");
    parser.report->add_option("-o,--output", request.output,
                              "Write the report to this file instead of stdout");
    parser.report->footer(kReportFooter);

    // For the shell completions: not in the help, as it is not meant to be typed.
    parser.deviceNames =
        app.add_subcommand("__complete-devices", "Print the devices where drives are looked for")
            ->group("");

    for (CLI::App* command : {parser.list, parser.show, parser.set, parser.restore, parser.report,
                              parser.deviceNames}) {
        command->fallthrough();  // --json, --trace, --demo, --replay may follow the command too
    }
}

CliCommand ChosenCommand(const Parser& parser) {
    if (parser.show->parsed()) {
        return CliCommand::kShow;
    }
    if (parser.set->parsed()) {
        return CliCommand::kSet;
    }
    if (parser.restore->parsed()) {
        return CliCommand::kRestore;
    }
    if (parser.report->parsed()) {
        return CliCommand::kReport;
    }
    return CliCommand::kList;
}

SettingChoice Requested(const std::string& text, const char* oneValue, bool save) {
    if (text.empty()) {
        return SettingChoice{false, 0, 0};
    }
    return SettingChoice{true, static_cast<uint8_t>(text == oneValue ? 1 : 0),
                         static_cast<uint8_t>(save ? 1 : 0)};
}

ParsedCommandLine UsageError(ParsedCommandLine parsed, int textId,
                             std::vector<std::string> arguments) {
    parsed.status = ParseStatus::kUsageError;
    parsed.error = Finding{FindingKind::kUsage, "", textId, std::move(arguments)};
    return parsed;
}

bool DeviceGiven(const Parser& parser) {
    for (const CLI::App* command : {parser.show, parser.set, parser.restore, parser.report}) {
        if (command->parsed() && command->count("DEVICE") > 0) {
            return true;
        }
    }
    return false;
}

// What CLI11 cannot check: an empty device, a command name given as the device, and set without
// a setting.
ParsedCommandLine CheckRequest(ParsedCommandLine parsed, const Parser& parser) {
    CliRequest& request = parsed.request;
    if (request.output.empty() && parser.report->parsed() && parser.report->count("--output") > 0) {
        return UsageError(parsed, IDS_CLI_USAGE_ERROR, {"--output: empty"});
    }
    if (request.device.empty() && DeviceGiven(parser)) {
        return UsageError(parsed, IDS_CLI_USAGE_ERROR, {"DEVICE: empty"});
    }
    for (const char* command : {"list", "show", "set", "restore", "report"}) {
        if (request.device == command) {
            const std::string chosen = parser.app.get_subcommands().at(0)->get_name();
            return UsageError(parsed, IDS_CLI_ONE_COMMAND, {chosen, command});
        }
    }
    if (request.command == CliCommand::kSet && !request.optimalSpeed.requested &&
        !request.audioMode.requested) {
        return UsageError(parsed, IDS_CLI_NAME_A_SETTING, {});
    }
    parsed.status = ParseStatus::kRun;
    return parsed;
}

}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::ostream& out) {
    ParsedCommandLine parsed;
    for (size_t i = 1; i < arguments.size(); ++i) {
        parsed.jsonAsked = parsed.jsonAsked || arguments[i] == "--json" || arguments[i] == "-j";
    }
    Parser parser;
    DefineCommands(parser, parsed.request);
    std::vector<const char*> argv{kProgramName};
    for (size_t i = 1; i < arguments.size(); ++i) {
        argv.push_back(arguments[i].c_str());
    }
    try {
        parser.app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::Success& answered) {
        parser.app.exit(answered, out, out);
        parsed.status = ParseStatus::kAnswered;
        return parsed;
    } catch (const CLI::ParseError& wrong) {
        return UsageError(parsed, IDS_CLI_USAGE_ERROR, {std::string(wrong.what())});
    }
    if (parser.deviceNames->parsed()) {
        parsed.status = ParseStatus::kDeviceNames;
        return parsed;
    }
    parsed.request.command = ChosenCommand(parser);
    parsed.request.optimalSpeed = Requested(parser.optimalSpeed, "on", parser.save);
    parsed.request.audioMode = Requested(parser.audioMode, "low", parser.save);
    return CheckRequest(parsed, parser);
}
