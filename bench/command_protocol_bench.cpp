// The cost of the calling protocol (drive lock, worker thread start, bounded wait) against a
// direct call of the transport, both on a simulated drive that answers at once.
#include <benchmark/benchmark.h>

#include <memory>

#include "drive/command_catalogue.h"
#include "drive/command_runner.h"
#include "drive/drive_handle.h"
#include "sim/simulated_transport.h"

namespace {

class DiscardingSink : public CommandDoneSink {
public:
    void PostCommandDone() override {}
};

// A drive answering the settings page read, whose command log is cleared now and then so that it
// does not grow without bound.
struct BenchDrive {
    BenchDrive() {
        drive = &transport.AddDrive('E');
        AllocateTransferBuffers(state.buffers);
        OpenDrive(state, "E:");
        // The settings page read, the program's most frequent command.
        state.block.code = kCodeReadBuffer;
        state.block.timeout = 10;
        state.block.bufferId = 0xF4;
        state.block.bufferMode = 1;
        state.block.bufferOffset = 0;
        state.block.transferLength = 256;
    }
    ~BenchDrive() { CloseDrive(transport, state.driveHandle); }
    // The drive really received the command: one more, counted on an empty log.
    bool AnswersOneMore(CommandRunner* runner, DriveAccessMutex* mutex) {
        drive->ClearReceived();
        if (runner == nullptr) {
            ReadBuffer(state, 0xF4, 1, 0, 256);
        } else {
            DriveLock lock(*mutex);
            runner->Run(lock);
        }
        return drive->ReceivedCount() == 1 && state.block.status == kCommandCompleted;
    }
    void TrimLog(int64_t iteration) {
        if (iteration % 4096 == 0) {
            drive->ClearReceived();
        }
    }

    SimulatedTransport transport;
    SimulatedDrive* drive = nullptr;
    DriveState state{transport};
};

void BM_DirectTransportCall(benchmark::State& bench) {
    BenchDrive target;
    int64_t iteration = 0;
    for (auto _ : bench) {
        benchmark::DoNotOptimize(ReadBuffer(target.state, 0xF4, 1, 0, 256));
        target.TrimLog(++iteration);
    }
    if (!target.AnswersOneMore(nullptr, nullptr)) {
        bench.SkipWithError("the drive did not answer");
    }
}
BENCHMARK(BM_DirectTransportCall)->Unit(benchmark::kMicrosecond);

void BM_CallingProtocol(benchmark::State& bench) {
    BenchDrive target;
    auto mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    DiscardingSink sink;
    CommandRunner runner(target.state, *mutex, &sink);
    int64_t iteration = 0;
    for (auto _ : bench) {
        DriveLock lock(*mutex);
        benchmark::DoNotOptimize(runner.Run(lock));
        target.TrimLog(++iteration);
    }
    if (!target.AnswersOneMore(&runner, mutex.get())) {
        bench.SkipWithError("the drive did not answer");
    }
    runner.OnCommandDone();
}
BENCHMARK(BM_CallingProtocol)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
