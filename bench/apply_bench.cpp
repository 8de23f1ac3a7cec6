// The cost of one Apply as the user sees it: from the click until the handler returns, against
// the time the simulated drive itself spends on the same commands (commands received times the
// drive's latency per command), and how many timer ticks later "complete" is in the log box.
//
// Reported per run: Time (the handler, manual timing), commands per Apply, drive_ms (commands
// times the latency), overhead_ratio (handler time / drive_ms, for a drive with latency),
// overhead_us_per_command, ticks_to_complete. The drive's sleeps overshoot their latency a
// little; measured_drive_ms (time spent inside the transport's Execute) and measured_ratio show
// the handler against what the drive really took.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "ui/base_dlg.h"

namespace {

// Passes commands to the simulated drives and adds up the time they spend answering.
class TimingTransport : public ScsiTransport {
public:
    explicit TimingTransport(ScsiTransport& inner) : inner_(inner) {}
    OpenResult Open(const std::string& devicePath) override { return inner_.Open(devicePath); }
    void Close(DeviceHandle handle) override { inner_.Close(handle); }
    TransportResult Execute(DeviceHandle handle, PassThroughRequest& request) override {
        const auto start = std::chrono::steady_clock::now();
        const TransportResult executed = inner_.Execute(handle, request);
        const auto spent = std::chrono::steady_clock::now() - start;
        nanoseconds_.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(spent).count());
        return executed;
    }
    double TakeSeconds() { return static_cast<double>(nanoseconds_.exchange(0)) * 1e-9; }

private:
    ScsiTransport& inner_;
    std::atomic<int64_t> nanoseconds_{0};
};

// The main window on the in-memory backend with one ready drive at E (no disc, both settings).
struct ApplyBenchWindow {
    explicit ApplyBenchWindow(uint32_t latencyMicroseconds) {
        services.osPlatformId = [] { return kOsPlatformNt; };
        services.sleep = [](uint32_t) {};
        services.listCandidates = DriveLetterCandidates;
        drive = &drives.AddDrive('E');
        dialog = std::make_unique<CBaseDlg>(host, log, services);
        opened = host.Open(*dialog);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (watcher.IsReady() != 1 && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        host.TickTimers(20);  // the start-up report shown, the audio controls enabled
        host.Click(IDC_SPEED_ON);
        host.Click(IDC_AUDIO_LOW);
        drive->SetLatencyMicroseconds(latencyMicroseconds);
    }
    bool Ready() const { return opened && watcher.IsReady() == 1; }

    // Ticks until "complete" is in the log box; -1 when it never comes.
    int TicksUntilComplete() {
        for (int ticks = 1; ticks <= 50; ++ticks) {
            host.TickTimers(1);
            if (host.Text(IDC_LOG_EDIT) == "complete") {
                return ticks;
            }
        }
        return -1;
    }

    MemoryDialogHost host{GeneratedResourceCatalog()};
    LogRing log{host};
    SimulatedTransport drives;
    SimulatedDrive* drive = nullptr;
    TimingTransport transport{drives};
    DriveState state{transport};
    MediaWatcher watcher;  // one poll a second, as in the program
    MainWindowServices services{state, watcher};
    std::unique_ptr<CBaseDlg> dialog;  // last: ends before everything it uses
    bool opened = false;
};

void BM_ApplyClick(benchmark::State& bench) {
    const auto latencyMicroseconds = static_cast<uint32_t>(bench.range(0));
    ApplyBenchWindow window(latencyMicroseconds);
    if (!window.Ready()) {
        bench.SkipWithError("the window or its drive did not come up");
        return;
    }
    double handlerSeconds = 0;
    double driveSeconds = 0;
    double measuredDriveSeconds = 0;
    int64_t commands = 0;
    int64_t ticks = 0;
    for (auto _ : bench) {
        window.drive->ClearReceived();
        window.transport.TakeSeconds();
        const auto start = std::chrono::steady_clock::now();
        window.host.Click(IDC_APPLY);
        const std::chrono::duration<double> handler = std::chrono::steady_clock::now() - start;
        const size_t received = window.drive->ReceivedCount();
        const double measured = window.transport.TakeSeconds();
        bench.SetIterationTime(handler.count());

        const int shownAfter = window.TicksUntilComplete();
        if (shownAfter < 0) {
            bench.SkipWithError("\"complete\" was not shown");
            return;
        }
        handlerSeconds += handler.count();
        driveSeconds += static_cast<double>(received) * latencyMicroseconds * 1e-6;
        measuredDriveSeconds += measured;
        commands += static_cast<int64_t>(received);
        ticks += shownAfter;
    }
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["commands"] = static_cast<double>(commands) / runs;
    bench.counters["drive_ms"] = driveSeconds * 1e3 / runs;
    bench.counters["measured_drive_ms"] = measuredDriveSeconds * 1e3 / runs;
    bench.counters["ticks_to_complete"] = static_cast<double>(ticks) / runs;
    bench.counters["overhead_us_per_command"] =
        (handlerSeconds - driveSeconds) * 1e6 / static_cast<double>(commands);
    if (driveSeconds > 0) {
        bench.counters["overhead_ratio"] = handlerSeconds / driveSeconds;
        bench.counters["measured_ratio"] = handlerSeconds / measuredDriveSeconds;
    }
}
BENCHMARK(BM_ApplyClick)
    ->Arg(0)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
