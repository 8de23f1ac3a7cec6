// The demo's drives: two simulated recorders, so that the program can be seen at work without a
// drive. E supports both settings (Optimal Writing Speed ON, audio mode for high-speed playback);
// G carries the other model identifier, has no audio mode and Optimal Writing Speed OFF.
#pragma once

#include <vector>

#include "platform/drive_candidates.h"
#include "sim/simulated_transport.h"

constexpr char kDemoFirstDriveLetter = 'E';
constexpr char kDemoSecondDriveLetter = 'G';
constexpr size_t kDemoRecordLimit = 64;  // commands each drive keeps in its record

// Places both drives in the transport, replacing any drive at those letters.
void PlaceDemoDrives(SimulatedTransport& transport);

// Where discovery looks for them: E and G.
std::vector<DriveCandidate> DemoDriveCandidates();
