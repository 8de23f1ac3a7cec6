// velmora-drive show --json, two ways.
//
// ShowJsonProcess: the whole native program as a user starts it, against the demo's drives,
// which answer at once: process start, command line, discovery of the drive named, the settings
// page, the ready byte, the JSON document. Started through the shell (std::system, output to
// /dev/null); ShellAlone measures that shell's own start so the two can be told apart.
//
// ShowJsonDriveTime: the same command run in-process (RunCli) against the demo's drives made to
// take 2 ms per command, wall time against the time the drives spent (measured around each
// Execute of the transport). In-process rather than through an environment variable read by the
// program: the shipped program keeps no hook for benchmarks, and the transport a run gets is the
// one seam the command line already has.
//
// Counters: commands per run, drive_ms, wall_ms, ratio = wall / drive time.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "app/demo_drives.h"
#include "cli/cli_program.h"
#include "platform/resource_catalog.h"
#include "sim/simulated_transport.h"

namespace {

constexpr uint32_t kDriveLatencyMicroseconds = 2000;

void ShowJsonProcess(benchmark::State& state) {
    const std::string command =
        std::string("'") + VELMORA_DRIVE_PATH + "' --demo show E: --json >/dev/null 2>&1";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("velmora-drive --demo show E: --json failed");
            break;
        }
    }
}
BENCHMARK(ShowJsonProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void ShellAlone(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::system("true"));
    }
}
BENCHMARK(ShellAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);

// The demo's drives, answering 2 ms after each command, with the time they take added up.
// Commands run one at a time (each caller waits for its worker), so plain counters serve.
class TimedDemoDrives : public ScsiTransport {
public:
    TimedDemoDrives() {
        PlaceDemoDrives(drives_);
        for (char letter : {kDemoFirstDriveLetter, kDemoSecondDriveLetter}) {
            drives_.Drive(letter)->SetLatencyMicroseconds(kDriveLatencyMicroseconds);
        }
    }
    OpenResult Open(const std::string& devicePath) override { return drives_.Open(devicePath); }
    void Close(DeviceHandle handle) override { drives_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        const auto start = std::chrono::steady_clock::now();
        const TransportResult result = drives_.Execute(handle, request);
        nanoseconds += std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
        ++commands;
        return result;
    }

    int64_t nanoseconds = 0;
    int64_t commands = 0;

private:
    SimulatedTransport drives_;
};

// The drives, lent to each run.
class Lent : public DriveSystem {
public:
    explicit Lent(TimedDemoDrives& drives) : drives_(drives) {}
    ScsiTransport& Transport() override { return drives_; }
    std::vector<DriveCandidate> Candidates() override { return DemoDriveCandidates(); }

private:
    TimedDemoDrives& drives_;
};

void ShowJsonDriveTime(benchmark::State& state) {
    TimedDemoDrives drives;
    std::ostringstream out, err;
    const CliEnvironment environment{out, err, kLanguageEnglish, AccessRemedy::kJoinCdromGroup,
                                     [&drives](bool) { return std::make_unique<Lent>(drives); }};
    const std::vector<std::string> arguments{"velmora-drive", "--demo", "show", "E:", "--json"};
    double wallSeconds = 0;
    for (auto _ : state) {
        out.str("");
        const auto start = std::chrono::steady_clock::now();
        const int code = RunCli(arguments, environment);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        wallSeconds += wall.count();
        state.SetIterationTime(wall.count());
        if (code != 0) {
            state.SkipWithError("show failed");
            break;
        }
    }
    const double runs = static_cast<double>(state.iterations());
    const double driveSeconds = static_cast<double>(drives.nanoseconds) * 1e-9;
    state.counters["commands"] = static_cast<double>(drives.commands) / runs;
    state.counters["drive_ms"] = driveSeconds * 1e3 / runs;
    state.counters["wall_ms"] = wallSeconds * 1e3 / runs;
    state.counters["ratio"] = driveSeconds > 0 ? wallSeconds / driveSeconds : 0;
}
BENCHMARK(ShowJsonDriveTime)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
