// Reduces a failed command's sense key, ASC and ASCQ to one small class, on which the
// disc-presence probe and the settings writer decide.
#pragma once

#include <cstdint>

#include "drive/drive_state.h"

enum SenseClass : int32_t {
    kSenseClassNoSense = 0,  // also what an all-zero sense area gives
    kSenseClassUnclassified = 1,
    kSenseClassMediumNotPresent = 3,      // NOT READY 3A/00
    kSenseClassBecomingReady = 5,         // NOT READY 04/01
    kSenseClassCommunicationTimeout = 6,  // HARDWARE ERROR 08/01
    kSenseClassPowerOnReset = 7,          // UNIT ATTENTION 29/00
    kSenseClassMediumMayHaveChanged = 8,  // UNIT ATTENTION 28/00
    kSenseClassInitializingRequired = 9,  // NOT READY 04/02
    kSenseClassSelfConfigFailed = 10,     // HARDWARE ERROR 4C/00
    kSenseClassNoMediumTrayClosed = 11,   // NOT READY 3A/01
    kSenseClassNoMediumTrayOpen = 12,     // NOT READY 3A/02
};

// The key is the whole sense byte 2, not masked: flag bits in its upper half give class 1.
SenseClass ClassifySense(uint8_t senseKey, uint8_t asc, uint8_t ascq);

// Classifies the sense data the last command left in the pass-through record (sense bytes 2,
// 12 and 13). Meaningful only right after a failed command, under the DriveAccessMutex.
SenseClass ClassifyLastSense(const DriveState& state);

// Classes 3, 11 and 12: there is no disc in the drive.
bool IsMediumNotPresent(SenseClass senseClass);
