#include "app/cli_drive_systems.h"

#include "app/demo_drives.h"
#include "platform/system_scsi_transport.h"
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

}  // namespace

std::unique_ptr<DriveSystem> MakeCliDriveSystem(bool demo) {
    if (demo) {
        return std::make_unique<DemoDrives>();
    }
    std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    if (transport == nullptr) {
        return nullptr;
    }
    return std::make_unique<SystemDrives>(std::move(transport));
}
