// The cost of one Apply as the user sees it: from the click until the handler returns, against
// the time the simulated drive itself spends on the same commands (commands received times the
// drive's latency per command), and how many timer ticks later "complete" is in the log box.
//
// Reported per run: Time (the handler, manual timing), commands per Apply, drive_ms (commands
// times the latency), overhead_ratio (handler time / drive_ms, for a drive with latency),
// overhead_us_per_command, ticks_to_complete. The drive's sleeps overshoot their latency a
// little; measured_drive_ms (time spent inside the transport's Execute) and measured_ratio show
// the handler against what the drive really took.
//
// What keeping other writers off the drive adds: BM_ApplyGuards times the same window's Apply
// without and with the drive's lock and claim (the Linux flock and O_EXCL open, on a file standing
// in for the block node), one after the other, and reports both and their ratio;
// BM_ReopenAndApply does the same at the drive and settings layers for an Apply that follows an
// open of the drive: a plain open and an unguarded Apply against the open whose identity is
// confirmed (one more model read) and a guarded Apply, as a program that opens the drive for each
// operation would pay. Both at the drive latency given (2000 us: 2 ms per command).
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "dialog/memory/memory_dialog_host.h"
#include "drive/drive_handle.h"
#include "drive/drive_identity.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "settings/apply_settings.h"
#include "settings/current_settings.h"
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

// A file standing in for the drive's block node, on which the lock and claim are really taken.
struct StandInBlockNode {
    StandInBlockNode() {
        char pattern[] = "/tmp/apply-bench-node.XXXXXX";
        const int descriptor = mkstemp(pattern);
        if (descriptor >= 0) {
            close(descriptor);
            path = pattern;
        }
    }
    ~StandInBlockNode() {
        if (!path.empty()) {
            unlink(path.c_str());
        }
    }
    std::string path;
};

// Today's Apply: nothing is taken beyond the mutex.
class NoClaims : public DriveClaims {
public:
    HoldResult LockForWriting(const std::string&, uint32_t) override { return Held(); }
    HoldResult ClaimExclusively(const std::string&) override { return Held(); }
    std::unique_ptr<DriveReadLock> OpenReadLock(const std::string&) override { return nullptr; }
    std::string MountPointOf(const std::string&) override { return std::string(); }

private:
    static HoldResult Held() {
        HoldResult held;
        held.outcome = HoldOutcome::kHeld;
        return held;
    }
};

template <class Work>
double SecondsOf(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The main window on the in-memory backend with one ready drive at E (no disc, both settings).
struct ApplyBenchWindow {
    explicit ApplyBenchWindow(uint32_t latencyMicroseconds, const std::string& blockNode = "") {
        services.osPlatformId = [] { return kOsPlatformNt; };
        services.sleep = [](uint32_t) {};
        services.listCandidates = [blockNode] {
            DriveCandidate device = LetterCandidate('E');
            device.blockNode = blockNode;
            return std::vector<DriveCandidate>{device};
        };
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

// The window's Apply without, then with, the lock and claim on the drive's (stand-in) block node.
void BM_ApplyGuards(benchmark::State& bench) {
    const StandInBlockNode node;
    ApplyBenchWindow window(static_cast<uint32_t>(bench.range(0)), node.path);
    if (node.path.empty() || !window.Ready()) {
        bench.SkipWithError("the window, its drive or the stand-in node did not come up");
        return;
    }
    NoClaims none;
    double plainSeconds = 0;
    double guardedSeconds = 0;
    for (auto _ : bench) {
        window.services.claims = &none;
        plainSeconds += SecondsOf([&] { window.host.Click(IDC_APPLY); });
        window.TicksUntilComplete();
        window.services.claims = &SystemDriveClaims();
        const double guarded = SecondsOf([&] { window.host.Click(IDC_APPLY); });
        if (window.TicksUntilComplete() < 0) {
            bench.SkipWithError("\"complete\" was not shown");
            return;
        }
        guardedSeconds += guarded;
        bench.SetIterationTime(guarded);
    }
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["plain_ms"] = plainSeconds * 1e3 / runs;
    bench.counters["guarded_ms"] = guardedSeconds * 1e3 / runs;
    bench.counters["ratio"] = guardedSeconds / plainSeconds;
}
BENCHMARK(BM_ApplyGuards)
    ->Arg(0)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

class SingleByteText : public NarrowCodePage {
public:
    bool IsLeadByte(unsigned char) const override { return false; }
};

// The settings operations' front end for the bench: Optimal Writing Speed and the audio mode,
// not saved, flipped by every Apply.
struct FlippingFrontEnd : SettingsFrontEnd {
    SettingChoice OptimalSpeedChoice() const override { return SettingChoice{true, value, 0}; }
    SettingChoice AudioModeChoice() const override { return SettingChoice{true, value, 0}; }
    void ChooseFactoryValues(const SupportedSettings&) override {}
    void ClearShownStatus() override {}
    void Alert(int) override { ++failures; }
    void LogAppend(int) override {}
    void LogClear() override {}
    int OnWriteRefused(int) override { return kGoOnAsBefore; }
    uint8_t value = 0;
    int failures = 0;
};

struct ReadyAlways : AudioReadiness {
    int IsReady() const override { return 1; }
};

// An open of the drive and an Apply, today's way (a plain open, nothing held) against the new
// (the identity confirmed after the open, the lock and claim held across the Apply).
void BM_ReopenAndApply(benchmark::State& bench) {
    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    drive.SetLatencyMicroseconds(static_cast<uint32_t>(bench.range(0)));
    drive.SetRecordLimit(64);
    DriveState state{transport};
    AllocateTransferBuffers(state.buffers);
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(nullptr);
    CommandRunner runner{state, *mutex, nullptr};
    const StandInBlockNode node;
    DriveEntry entry;
    entry.device = LetterCandidate('E');
    entry.device.blockNode = node.path;
    entry.model = "7315KT52    ";
    FlippingFrontEnd frontEnd;
    SupportedSettings supported{1, 1};
    ApplyFlags flags;
    ReadyAlways ready;
    SingleByteText codePage;
    DriveWriteAccess access(SystemDriveClaims(), entry.device);
    double plainSeconds = 0;
    double guardedSeconds = 0;
    for (auto _ : bench) {
        SettingsContext plain{state, *mutex, runner, frontEnd, supported, flags, ready};
        plainSeconds += SecondsOf([&] {
            CloseDrive(transport, state.driveHandle);
            OpenDrive(state, "E:");
            frontEnd.value ^= 1;
            ApplySettings(plain);
        });
        SettingsContext guarded{state, *mutex, runner, frontEnd, supported, flags, ready, &access};
        const double seconds = SecondsOf([&] {
            CloseDrive(transport, state.driveHandle);
            OpenIdentifiedDrive(state, runner, *mutex, entry, codePage);
            frontEnd.value ^= 1;
            ApplySettings(guarded);
        });
        guardedSeconds += seconds;
        bench.SetIterationTime(seconds);
    }
    CloseDrive(transport, state.driveHandle);
    if (frontEnd.failures != 0) {
        bench.SkipWithError("an Apply was not confirmed");
        return;
    }
    const double runs = static_cast<double>(bench.iterations());
    bench.counters["plain_ms"] = plainSeconds * 1e3 / runs;
    bench.counters["guarded_ms"] = guardedSeconds * 1e3 / runs;
    bench.counters["ratio"] = guardedSeconds / plainSeconds;
}
BENCHMARK(BM_ReopenAndApply)
    ->Arg(0)
    ->Arg(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
