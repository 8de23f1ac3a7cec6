#include "app/demo_drives.h"

namespace {

SimulatedDriveConfig BothSettingsDrive() {
    SimulatedDriveConfig config;
    config.modelText = "7315KT52    ";
    config.product = "CD-R DRIVE 7315 ";
    config.revision = "1.18";
    config.supportsOptimalSpeed = true;
    config.optimalSpeed = 1;
    config.supportsAudioMode = true;
    config.audioMode = 0;  // high-speed playback
    return config;
}

SimulatedDriveConfig SpeedOnlyDrive() {
    SimulatedDriveConfig config;
    config.modelText = "7305KT52    ";
    config.product = "CD-R DRIVE 7305 ";
    config.revision = "1.02";
    config.supportsOptimalSpeed = true;
    config.optimalSpeed = 0;
    config.supportsAudioMode = false;
    return config;
}

}  // namespace

std::vector<DriveCandidate> DemoDriveCandidates() {
    return {LetterCandidate(kDemoFirstDriveLetter), LetterCandidate(kDemoSecondDriveLetter)};
}

void PlaceDemoDrives(SimulatedTransport& transport) {
    // The watcher polls once a second for as long as the demo runs: keep only recent commands.
    transport.AddDrive(kDemoFirstDriveLetter, BothSettingsDrive()).SetRecordLimit(kDemoRecordLimit);
    transport.AddDrive(kDemoSecondDriveLetter, SpeedOnlyDrive()).SetRecordLimit(kDemoRecordLimit);
}
