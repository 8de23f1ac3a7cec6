// libFuzzer target: velmora-drive's output over drives that answer anything. The first two bytes
// choose a valid command line; the rest answers every open and command of the run
// (tests/fuzz/fuzz_transport.h). Each input runs twice through the command line's public entry,
// RunCli: once with --json, once for a person, with the drives answering both runs alike.
//
// Input:
//   byte 0  bits 0-1 the command: list, show, set, restore
//           bit 2 the person's output in Japanese
//           bit 3 list: --all; show: the first device named (otherwise the only drive)
//           bit 4 --dry-run (set, restore); bit 5 --save (set); bit 6 --trace
//           bit 7 the devices are reached through their block nodes (no sg node)
//   byte 1  bits 0-1 set: --optimal-speed not given, on, off, not given
//           bits 2-3 set: --audio-mode not given, high, low, not given (neither: speed on)
//           bits 4-5 the number of devices less one
//
// Properties, on every input:
// - the exit code is a documented one other than 1 and 2 (the command line is valid and the run
//   can set itself up), the same in both runs, and not 0 whenever a message says an error;
// - --json prints one JSON document whose exit_status is the exit code; set and restore other
//   than dry runs end 0 only with every requested setting "confirmed", and a setting is
//   "confirmed" only after a write of it whose read-back confirmed it; the values shown are the
//   last settings page's when it came back;
// - the person's output is UTF-8 with no control character but the line end, on either stream,
//   and a failure always says something on stderr;
// - a dry run sends neither WRITE BUFFER nor START STOP UNIT.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_program.h"
#include "cli/exit_codes.h"
#include "res/resource_catalog.h"
#include "tests/fuzz/fuzz_transport.h"
#include "tests/fuzz/output_checks.h"

namespace {

using Json = nlohmann::json;

constexpr uint8_t kWriteBuffer = 0x3B;
constexpr uint8_t kStartStopUnit = 0x1B;

enum FirstChoice : uint8_t {
    kCommandBits = 0x03,
    kJapanese = 1 << 2,
    kAllOrNamed = 1 << 3,
    kDryRun = 1 << 4,
    kSave = 1 << 5,
    kTrace = 1 << 6,
    kBlockNodes = 1 << 7,
};

// Only the public entry is used, so that the target holds however the command line is built.
enum class Command { kList, kShow, kSet, kRestore };

struct CommandLine {
    std::vector<std::string> arguments;  // without --json
    std::vector<DriveCandidate> devices;
    Command command = Command::kList;
    bool dryRun = false;
    uint16_t language = kLanguageEnglish;
};

std::vector<DriveCandidate> Devices(int count, bool blockNodes) {
    std::vector<DriveCandidate> devices;
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        devices.push_back(DriveCandidate{(blockNodes ? "/dev/sr" : "/dev/sg") + number,
                                         "/dev/sr" + number, blockNodes});
    }
    return devices;
}

void AddSetOptions(std::vector<std::string>& arguments, uint8_t second, bool save) {
    const int speed = second & 0x03;
    const int audio = (second >> 2) & 0x03;
    if (speed == 1 || speed == 2) {
        arguments.insert(arguments.end(), {"--optimal-speed", speed == 1 ? "on" : "off"});
    }
    if (audio == 1 || audio == 2) {
        arguments.insert(arguments.end(), {"--audio-mode", audio == 1 ? "high" : "low"});
    }
    if ((speed == 0 || speed == 3) && (audio == 0 || audio == 3)) {
        arguments.insert(arguments.end(), {"--optimal-speed", "on"});
    }
    if (save) {
        arguments.push_back("--save");
    }
}

CommandLine ChooseCommandLine(uint8_t first, uint8_t second) {
    static const char* const kCommands[] = {"list", "show", "set", "restore"};
    static const Command kChosen[] = {Command::kList, Command::kShow, Command::kSet,
                                      Command::kRestore};
    CommandLine line;
    const int which = first & kCommandBits;
    line.command = kChosen[which];
    line.language = (first & kJapanese) != 0 ? kLanguageJapanese : kLanguageEnglish;
    line.devices = Devices(1 + ((second >> 4) & 0x03), (first & kBlockNodes) != 0);
    std::vector<std::string>& arguments = line.arguments;
    arguments = {"velmora-drive"};
    if ((first & kTrace) != 0) {
        arguments.push_back("--trace");
    }
    arguments.push_back(kCommands[which]);
    const bool flag = (first & kAllOrNamed) != 0;
    if (line.command == Command::kList && flag) {
        arguments.push_back("--all");
    }
    if (line.command != Command::kList && (line.command != Command::kShow || flag)) {
        arguments.push_back(line.devices.front().name);
    }
    if (line.command == Command::kSet) {
        AddSetOptions(arguments, second, (first & kSave) != 0);
    }
    line.dryRun = (first & kDryRun) != 0 &&
                  (line.command == Command::kSet || line.command == Command::kRestore);
    if (line.dryRun) {
        arguments.push_back("--dry-run");
    }
    return line;
}

class FuzzDrives : public DriveSystem {
public:
    FuzzDrives(ScsiTransport& transport, std::vector<DriveCandidate> devices)
        : transport_(transport), devices_(std::move(devices)) {}
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override { return devices_; }

private:
    ScsiTransport& transport_;
    std::vector<DriveCandidate> devices_;
};

struct Run {
    int code = -1;
    std::string out;
    std::string err;
};

// With FUZZ_SHOW_OUTPUT set (replaying one input to see what it does), each run's command line,
// output and exit code go to stderr.
void ShowWhenAsked(const std::vector<std::string>& arguments, const Run& run) {
    if (std::getenv("FUZZ_SHOW_OUTPUT") == nullptr) {
        return;
    }
    for (const std::string& argument : arguments) {
        std::fprintf(stderr, "%s ", argument.c_str());
    }
    std::fprintf(stderr, "\n%s%s=> %d\n", run.out.c_str(), run.err.c_str(), run.code);
}

// One run of the command line, the drives answering from the input's answers.
Run RunOnce(const std::vector<std::string>& arguments, const CommandLine& line,
            FuzzTransport& transport, uint16_t language) {
    std::ostringstream out;
    std::ostringstream err;
    const CliEnvironment environment{
        out, err, language, AccessRemedy::kJoinCdromGroup, [&](const DriveSource& /*source*/) {
            return std::make_unique<FuzzDrives>(transport, line.devices);
        }};
    Run run;
    run.code = RunCli(arguments, environment);
    run.out = out.str();
    run.err = err.str();
    ShowWhenAsked(arguments, run);
    return run;
}

bool ShowsError(const Json& document) {
    for (const Json& message : Member(Member(document, "velmora_drive"), "messages")) {
        if (Member(message, "severity") == "error") {
            return true;
        }
    }
    return false;
}

// A requested setting's write block against what the drive saw of that setting's writes.
void CheckWriteOutcome(const Json& write, const SettingWriteSeen& seen, bool dryRun, int code) {
    if (Member(write, "requested") != true) {
        return;
    }
    if (Member(write, "outcome") == "confirmed") {
        Require(!dryRun && seen.written && seen.confirmed,
                "\"confirmed\" only after a write its read-back confirmed");
    } else if (!dryRun) {
        Require(code != kExitSuccess, "exit 0 only with every requested setting confirmed");
    }
}

// The settings shown for the one drive of show, set and restore against the last page read.
void CheckShownValues(const Json& document, const ReplySeen& page) {
    if (!page.good || page.returned < 24) {
        return;
    }
    const auto check = [&](const char* key, int supportedByte, const char* oneValue,
                           const char* otherValue) {
        const Json& setting = Member(document, key);
        if (setting.is_null()) {
            return;
        }
        Require(Member(setting, "supported") == (page.bytes[supportedByte] == 1),
                "a setting is supported as the last page says");
        for (const auto& [name, byte] : {std::pair<const char*, int>{"current", supportedByte + 1},
                                         {"saved", supportedByte + 2}}) {
            if (!Member(setting, name).is_null()) {
                Require(Member(setting, name) == (page.bytes[byte] == 1 ? oneValue : otherValue),
                        "a value shown as the last page gave it");
            }
        }
    };
    check("optimal_writing_speed", 18, "on", "off");
    check("audio_optimized_write_mode", 21, "low", "high");
}

int CheckJsonRun(const CommandLine& line, const uint8_t* answers, size_t size) {
    FuzzInput input(answers, size);
    FuzzTransport transport(input);
    std::vector<std::string> arguments = line.arguments;
    arguments.insert(arguments.begin() + 1, "--json");
    const Run run = RunOnce(arguments, line, transport, kLanguageEnglish);
    Require(
        IsDocumentedExitCode(run.code) && run.code != kExitInternalError && run.code != kExitUsage,
        "exit code documented, not a usage or set-up failure");
    const Json document = Json::parse(run.out, nullptr, false);
    Require(!document.is_discarded() && document.is_object(), "--json output parses as JSON");
    Require(JsonExitStatus(document) == run.code, "exit_status is the exit code");
    Require(run.code != kExitSuccess || !ShowsError(document), "no error message with exit 0");
    if (line.dryRun) {
        Require(transport.Sent(kWriteBuffer) == 0 && transport.Sent(kStartStopUnit) == 0,
                "a dry run writes nothing and stops no disc");
    }
    const Json& write = Member(document, "write");
    CheckWriteOutcome(Member(write, "optimal_writing_speed"), transport.OptimalSpeedWrite(),
                      line.dryRun, run.code);
    CheckWriteOutcome(Member(write, "audio_optimized_write_mode"), transport.AudioModeWrite(),
                      line.dryRun, run.code);
    if (line.command != Command::kList) {
        CheckShownValues(document, transport.LastSettingsRead());
    }
    return run.code;
}

int CheckHumanRun(const CommandLine& line, const uint8_t* answers, size_t size) {
    FuzzInput input(answers, size);
    FuzzTransport transport(input);
    const Run run = RunOnce(line.arguments, line, transport, line.language);
    Require(IsPrintableUtf8(run.out) && IsPrintableUtf8(run.err),
            "the person's output is UTF-8 without control characters");
    Require(run.code == kExitSuccess || !run.err.empty(), "a failure says something on stderr");
    return run.code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) {
        return 0;
    }
    const CommandLine line = ChooseCommandLine(data[0], data[1]);
    const int jsonCode = CheckJsonRun(line, data + 2, size - 2);
    const int humanCode = CheckHumanRun(line, data + 2, size - 2);
    Require(jsonCode == humanCode, "the same exit code with and without --json");
    return 0;
}
