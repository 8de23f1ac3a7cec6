// libFuzzer target: velmora-drive's command line and locale. Each input sets or unsets LC_ALL,
// LC_MESSAGES and LANG, takes the output language from them as the program does
// (OutputLanguageOfProcess) and runs any argument vector through RunCli against three simulated
// drives: E: with both settings, F: empty, G: of the other model with Optimal Writing Speed only.
//
// Input: 1 byte: bits 0-2 LC_ALL, LC_MESSAGES, LANG are set; then strings, each ended by a NUL
// byte (or by the input's end): the value of each variable set, in that order, then the
// arguments after the program name.
//
// Properties, on every input: no sanitizer report; the language is English or Japanese; the exit
// code is a documented one; exit code 2 (a bad command line) has sent nothing to any drive, not
// even an open, and with --json among the arguments has printed one JSON document whose
// exit_status is 2.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_program.h"
#include "cli/output_language.h"
#include "res/resource_catalog.h"
#include "sim/simulated_transport.h"
#include "tests/fuzz/fuzz_transport.h"
#include "tests/fuzz/output_checks.h"

namespace {

constexpr const char* kLocaleVariables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};

// The simulated drives, counting what reaches them.
class CountingTransport : public ScsiTransport {
public:
    CountingTransport() {
        SimulatedDriveConfig both;
        both.optimalSpeed = 1;
        SimulatedDriveConfig speedOnly;
        speedOnly.modelText = "7305KT52    ";
        speedOnly.supportsAudioMode = false;
        drives_.AddDrive('E', both);
        drives_.AddDrive('G', speedOnly);
    }
    OpenResult Open(const std::string& devicePath) override {
        ++reached;
        return drives_.Open(devicePath);
    }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        ++reached;
        return drives_.Execute(handle, request);
    }
    int reached = 0;  // opens and commands

private:
    SimulatedTransport drives_;
};

class CountingDrives : public DriveSystem {
public:
    explicit CountingDrives(CountingTransport& transport) : transport_(transport) {}
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override {
        return {LetterCandidate('E'), LetterCandidate('F'), LetterCandidate('G')};
    }

private:
    CountingTransport& transport_;
};

// The strings of the input, each ended by NUL or by the input's end.
std::vector<std::string> Strings(const uint8_t* data, size_t size) {
    std::vector<std::string> strings;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            strings.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty()) {
        strings.push_back(current);
    }
    return strings;
}

// Sets the variables the first byte names from the first strings; the others are unset.
size_t SetLocale(uint8_t which, const std::vector<std::string>& strings) {
    size_t used = 0;
    for (int i = 0; i < 3; ++i) {
        if ((which & (1 << i)) != 0 && used < strings.size()) {
            setenv(kLocaleVariables[i], strings[used++].c_str(), 1);
        } else {
            unsetenv(kLocaleVariables[i]);
        }
    }
    return used;
}

bool AsksForJson(const std::vector<std::string>& arguments) {
    for (size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--json") {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::vector<std::string> strings = Strings(data + 1, size - 1);
    const size_t used = SetLocale(data[0], strings);
    const uint16_t language = OutputLanguageOfProcess();
    Require(language == kLanguageEnglish || language == kLanguageJapanese,
            "the output language is English or Japanese");

    std::vector<std::string> arguments{"velmora-drive"};
    arguments.insert(arguments.end(), strings.begin() + used, strings.end());
    CountingTransport transport;
    int factoryCalls = 0;
    std::ostringstream out;
    std::ostringstream err;
    const CliEnvironment environment{out, err, language, AccessRemedy::kJoinCdromGroup,
                                     [&](const DriveSource& /*source*/) {
                                         ++factoryCalls;
                                         return std::make_unique<CountingDrives>(transport);
                                     }};
    const int code = RunCli(arguments, environment);

    Require(IsDocumentedExitCode(code), "a documented exit code");
    if (code == kExitUsage) {
        Require(transport.reached == 0 && factoryCalls == 0,
                "a bad command line sends nothing to any drive");
        if (AsksForJson(arguments)) {
            const nlohmann::json document = nlohmann::json::parse(out.str(), nullptr, false);
            Require(JsonExitStatus(document) == kExitUsage,
                    "a bad command line with --json prints a JSON document that says so");
        }
    }
    return 0;
}
