// libFuzzer target: a diagnostic report replayed as drives. The input is the report's text, as a
// user would send it (or edit it by hand). It is loaded (sim/replayed_report.h); a report that
// loads is replayed through velmora-drive's list --all --json, and for the first drive listed as
// supported through show --json and set --optimal-speed on --json. Recorded durations are cut to
// nothing, so that an input costs no sleeping.
//
// Properties, on every input:
// - the loader says loaded with no detail, or another status with a detail that says what;
// - each run's exit code is a documented one, and its JSON document parses and carries it;
// - a drive is listed as supported only when the report recorded its model buffer answered GOOD
//   (the model then answers it), and a drive is never named twice;
// - list and show send neither WRITE BUFFER nor START STOP UNIT; a set that ends 0 shows the
//   optimal writing speed on, as its read-back found it.
#include <cstdint>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_program.h"
#include "res/resource_catalog.h"
#include "sim/replayed_report.h"
#include "tests/fuzz/fuzz_transport.h"
#include "tests/fuzz/output_checks.h"

namespace {

using Json = nlohmann::json;

constexpr uint8_t kWriteBuffer = 0x3B;
constexpr uint8_t kStartStopUnit = 0x1B;

// The replayed drives, counting the writes that reach them.
class CountingTransport : public ScsiTransport {
public:
    explicit CountingTransport(const ReplayedReport& report) {
        PlaceReplayedDrives(report, drives_);
    }
    OpenResult Open(const std::string& devicePath) override { return drives_.Open(devicePath); }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        const uint8_t opcode = request.header.Cdb[0];
        writes += opcode == kWriteBuffer || opcode == kStartStopUnit ? 1 : 0;
        return drives_.Execute(handle, request);
    }
    int writes = 0;

private:
    SimulatedTransport drives_;
};

class ReplayedDrives : public DriveSystem {
public:
    ReplayedDrives(ScsiTransport& transport, std::vector<DriveCandidate> candidates)
        : transport_(transport), candidates_(std::move(candidates)) {}
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override { return candidates_; }

private:
    ScsiTransport& transport_;
    std::vector<DriveCandidate> candidates_;
};

// One run of velmora-drive on the drives; its JSON document, checked for what every run holds.
Json Run(CountingTransport& transport, const ReplayedReport& report,
         const std::vector<std::string>& arguments, int* code) {
    std::ostringstream out;
    std::ostringstream err;
    const CliEnvironment environment{
        out, err, kLanguageEnglish, AccessRemedy::kJoinCdromGroup, [&](const DriveSource&) {
            return std::make_unique<ReplayedDrives>(transport, ReplayedCandidates(report));
        }};
    *code = RunCli(arguments, environment);
    Require(IsDocumentedExitCode(*code), "a documented exit code");
    Json document = Json::parse(out.str(), nullptr, false);
    Require(JsonExitStatus(document) == *code, "one JSON document that carries the exit code");
    return document;
}

// The device names listed as supported drives; each must have had its model buffer answered.
std::vector<std::string> SupportedNames(const Json& list, const ReplayedReport& report) {
    std::vector<std::string> names;
    std::set<std::string> seen;
    const Json& devices = Member(list, "devices");
    for (const Json& device : devices.is_array() ? devices : Json::array()) {
        const Json& name = Member(device, "name");
        Require(name.is_string() && seen.insert(name.get<std::string>()).second,
                "every device named once");
        if (Member(device, "supported_drive") != true) {
            continue;
        }
        bool answered = false;
        for (const ReplayedDrive& drive : report.drives) {
            answered = answered || (drive.device.name == name && drive.model.answersModelBuffer &&
                                    !drive.model.modelBuffer.empty());
        }
        Require(answered, "a supported drive had its model buffer recorded");
        names.push_back(name.get<std::string>());
    }
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReplayedReport report;
    const ReplayLoad load =
        ParseReplayedReport(std::string(reinterpret_cast<const char*>(data), size), &report);
    Require(load.Loaded() == load.detail.empty(), "a detail exactly when it does not load");
    if (!load.Loaded()) {
        return 0;
    }
    for (ReplayedDrive& drive : report.drives) {
        for (RecordedAnswer& answer : drive.answers) {
            answer.microseconds = 0;
        }
    }
    CountingTransport transport(report);
    int code = 0;
    const Json list = Run(transport, report, {"velmora-drive", "list", "--all", "--json"}, &code);
    const std::vector<std::string> supported = SupportedNames(list, report);
    if (!supported.empty()) {
        Run(transport, report, {"velmora-drive", "show", supported[0], "--json"}, &code);
    }
    Require(transport.writes == 0, "list and show write nothing");
    if (!supported.empty()) {
        const Json set =
            Run(transport, report,
                {"velmora-drive", "set", supported[0], "--optimal-speed", "on", "--json"}, &code);
        Require(
            code != kExitSuccess || Member(Member(set, "optimal_writing_speed"), "current") == "on",
            "a set that succeeded shows the value it wrote");
    }
    return 0;
}
