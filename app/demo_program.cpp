#include "app/demo_program.h"

#include "app/demo_drives.h"
#include "app/drive_utility_program.h"
#include "sim/simulated_transport.h"

const char kDemoSingleInstanceName[] = "VelmoraDriveUtilityDemo";
const char kDemoMutexName[] = "VelmoraDriveUtilityDemo.mutex";

int RunDemo(DialogBackend& backend) {
    SimulatedTransport drives;
    PlaceDemoDrives(drives);
    ProgramIdentity identity;
    identity.instanceName = kDemoSingleInstanceName;
    identity.mutexName = kDemoMutexName;
    identity.listCandidates = DemoDriveCandidates;
    return RunDriveUtility(backend, drives, identity);
}
