#include "app/demo_program.h"

#include "app/demo_drives.h"
#include "app/drive_utility_program.h"
#include "sim/simulated_transport.h"

const char kDemoSingleInstanceName[] = "VelmoraDriveUtilityDemo";
const char kDemoMutexName[] = "VelmoraDriveUtilityDemo.mutex";

namespace {

ProgramIdentity DemoIdentity() {
    ProgramIdentity identity;
    identity.instanceName = kDemoSingleInstanceName;
    identity.mutexName = kDemoMutexName;
    return identity;
}

}  // namespace

int RunDemo(DialogBackend& backend) {
    SimulatedTransport drives;
    PlaceDemoDrives(drives);
    ProgramIdentity identity = DemoIdentity();
    identity.listCandidates = DemoDriveCandidates;
    return RunDriveUtility(backend, drives, identity);
}

int RunReplayDemo(DialogBackend& backend, const ReplayedReport& report) {
    SimulatedTransport drives;
    PlaceReplayedDrives(report, drives);
    ProgramIdentity identity = DemoIdentity();
    const std::vector<DriveCandidate> candidates = ReplayedCandidates(report);
    identity.listCandidates = [candidates] { return candidates; };
    identity.modelReadTimeoutSeconds = kPatientModelReadTimeoutSeconds;  // as the drives recorded
    return RunDriveUtility(backend, drives, identity);
}
