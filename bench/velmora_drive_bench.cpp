// velmora-drive show --json, two ways.
//
// ShowJsonProcess: the whole native program as a user starts it, against the demo's drives,
// which answer at once: process start, command line, discovery of the drive named, the settings
// page, the ready byte, the JSON document. Started through the shell (std::system, output to
// /dev/null); EmptyProcess starts /bin/true the same way, so the program's own share is the
// difference.
//
// ShowJsonDriveTime/2000: the same command run in-process (RunCli) against the demo's drives made
// to take 2 ms per command, wall time against the time the drives spent (measured around each
// Execute of the transport); /0 gives the command line's own time in-process. In-process rather
// than through an environment variable read by the program: the shipped program keeps no hook for
// benchmarks, and the transport a run gets is the one seam the command line already has.
//
// Counters: commands per run, drive_ms, wall_ms, ratio = wall / drive time.
//
// WorkerFloor: what one command costs the calling protocol at the least, on this machine: a
// worker thread started, sleeping 2 ms as the drive does, and waited for, with nothing else.
// outside_ms is the time beyond the sleep (thread start and the two wake-ups); on a virtual
// machine under load it is far above what it is on a quiet one, and it bounds the ratio above.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "app/demo_drives.h"
#include "cli/cli_program.h"
#include "platform/thread.h"
#include "res/resource_catalog.h"
#include "sim/simulated_transport.h"

namespace {

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

void EmptyProcess(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::system("/bin/true >/dev/null 2>&1"));
    }
}
BENCHMARK(EmptyProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The demo's drives, answering each command after the latency given, with the time they take
// added up. Commands run one at a time (each caller waits for its worker), so plain counters
// serve.
class TimedDemoDrives : public ScsiTransport {
public:
    explicit TimedDemoDrives(uint32_t latencyMicroseconds) {
        PlaceDemoDrives(drives_);
        for (char letter : {kDemoFirstDriveLetter, kDemoSecondDriveLetter}) {
            drives_.Drive(letter)->SetLatencyMicroseconds(latencyMicroseconds);
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

// The argument: the drives' latency per command in microseconds (0 shows the command line's own
// time in-process).
void ShowJsonDriveTime(benchmark::State& state) {
    TimedDemoDrives drives(static_cast<uint32_t>(state.range(0)));
    std::ostringstream out, err;
    const CliEnvironment environment{
        out, err, kLanguageEnglish, AccessRemedy::kJoinCdromGroup,
        [&drives](const DriveSource&) { return std::make_unique<Lent>(drives); }};
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
BENCHMARK(ShowJsonDriveTime)
    ->Arg(0)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->MinTime(2.0);

void SleepTwoMilliseconds(void* sleptSeconds) {
    const auto start = std::chrono::steady_clock::now();
    SleepMilliseconds(2);
    *static_cast<double*>(sleptSeconds) =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void WorkerFloor(benchmark::State& state) {
    double outsideSeconds = 0;
    for (auto _ : state) {
        double slept = 0;
        const auto start = std::chrono::steady_clock::now();
        ThreadHandle worker = StartThread(SleepTwoMilliseconds, &slept);
        WaitForThread(worker, kWaitForever);
        CloseThread(worker);
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(wall.count());
        outsideSeconds += wall.count() - slept;
    }
    state.counters["outside_ms"] = outsideSeconds * 1e3 / static_cast<double>(state.iterations());
}
BENCHMARK(WorkerFloor)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(1.0);

}  // namespace

// Each in-process run allocates its transfer buffers afresh, as a started program does once. A
// program gets them from fresh pages, already zero; glibc's mmap threshold, which rises after the
// first free, would serve the later runs from the heap and zero them by hand, a cost no user's
// run has. A fixed threshold keeps every run on fresh pages.
int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
