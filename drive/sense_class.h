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

// The sense key, ASC and ASCQ of sense data in either of its formats. Fixed format (response
// code 70h or 71h, and anything that is not descriptor format): bytes 2, 12 and 13, the key as
// the whole byte 2, where the Windows program reads them in the record. Descriptor format (72h,
// 73h), which some USB adapters return: bytes 1, 2 and 3, the key the low four bits of byte 1.
// sense: at least 14 bytes.
struct SenseFields {
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
};
SenseFields SenseFieldsOf(const uint8_t* sense);

// Classifies the sense data the last command left in the pass-through record (SenseFieldsOf).
// Meaningful only right after a failed command, under the DriveAccessMutex.
SenseClass ClassifyLastSense(const DriveState& state);

// The last command reached the drive and was answered CHECK CONDITION with UNIT ATTENTION (sense
// key 6: a bus reset, a plug-in, a medium change). Reporting the condition clears it, so the same
// read sent once more gets the drive's real answer.
bool ReportsUnitAttention(const DriveState& state);

// Classes 3, 11 and 12: there is no disc in the drive.
bool IsMediumNotPresent(SenseClass senseClass);
