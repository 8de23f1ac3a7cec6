// The text form of a simulated drive's set-up, as the SG_IO preload library reads it from
// drive-<letter>.conf: one key=value a line, '#' starts a comment line. The keys are listed in
// sim/README.md. Values are taken verbatim to the end of the line (trailing spaces count);
// "\xNN" writes any byte and "\\" a backslash.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "sim/simulated_drive.h"

struct DriveConfigFile {
    SimulatedDriveConfig config;
    std::vector<std::pair<int, uint8_t>> pageBytes;  // page.N=V, applied after the config
    std::vector<DriveFault> faults;
    bool writesIgnored = false;
    bool savedBytesStuck = false;
    uint32_t latencyMicroseconds = 0;
};

// Parses the text into file, starting from the defaults already in it. On a line it cannot read
// it returns false and says which line and why in error.
bool ParseDriveConfig(const std::string& text, DriveConfigFile& file, std::string& error);

// Brings a drive's disc state, forced ready byte, faults (their counts start again), write flags
// and latency in line with the file: what a test may change while the drive is in use.
void ApplyLiveSettings(const DriveConfigFile& file, SimulatedDrive& drive);

// Sets the page.N bytes of the file in the drive.
void ApplyPageBytes(const DriveConfigFile& file, SimulatedDrive& drive);

// The state the drive keeps across program runs: its current and saved setting values, in the
// same key=value form (speed, speed_saved, audio, audio_saved as page bytes 19, 20, 22, 23).
std::string FormatSavedState(const SimulatedDrive& drive);
