#include "app/cli_drive_systems.h"

#include "app/demo_drives.h"
#include "platform/system_scsi_transport.h"
#include "sim/replayed_report.h"
#include "sim/simulated_transport.h"

namespace {

class SystemDrives : public DriveSystem {
public:
    explicit SystemDrives(std::unique_ptr<ScsiTransport> transport)
        : transport_(std::move(transport)) {}
    ScsiTransport& Transport() override { return *transport_; }
    std::vector<DriveCandidate> Candidates() override { return ListSystemDriveCandidates(); }
    DriveNames NamesOf(const DriveCandidate& drive) override { return ReadDriveNames(drive, "/"); }

private:
    std::unique_ptr<ScsiTransport> transport_;
};

class DemoDrives : public DriveSystem {
public:
    DemoDrives() { PlaceDemoDrives(transport_); }
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override { return DemoDriveCandidates(); }

private:
    SimulatedTransport transport_;
};

// The drives a diagnostic report recorded; a report that cannot be replayed leaves none, and
// says why.
class ReplayDrives : public DriveSystem {
public:
    explicit ReplayDrives(const std::string& file) {
        ReplayedReport report;
        const ReplayLoad load = LoadReplayedReport(file, &report);
        if (!load.Loaded()) {
            problem_ = load.detail;
            return;
        }
        PlaceReplayedDrives(report, transport_);
        candidates_ = ReplayedCandidates(report);
    }
    ScsiTransport& Transport() override { return transport_; }
    std::vector<DriveCandidate> Candidates() override { return candidates_; }
    std::string Problem() const override { return problem_; }

private:
    SimulatedTransport transport_;
    std::vector<DriveCandidate> candidates_;
    std::string problem_;
};

}  // namespace

std::unique_ptr<DriveSystem> MakeCliDriveSystem(const DriveSource& source) {
    if (!source.replayFile.empty()) {
        return std::make_unique<ReplayDrives>(source.replayFile);
    }
    if (source.demo) {
        return std::make_unique<DemoDrives>();
    }
    std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    if (transport == nullptr) {
        return nullptr;
    }
    return std::make_unique<SystemDrives>(std::move(transport));
}
