// The read-back that proves a write: the settings page is read afresh and the setting's current
// value, and its saved value when saving was asked for, compared with what was written.
#pragma once

#include <cstdint>

#include "settings/settings_context.h"

// 1 when the page read now has byte 19 equal to value and, if save is 1, byte 20 too; 0 when it
// differs or the page cannot be read. Takes the DriveAccessMutex once for itself (the caller
// usually holds it already).
int VerifyOptimalWriteSpeed(SettingsContext& context, uint8_t value, uint8_t save);

// The same for Audio Optimized Write Mode, with bytes 22 and 23.
int VerifyAudioMode(SettingsContext& context, uint8_t value, uint8_t save);
