// The two data-out pages that carry a setting to the drive (WRITE BUFFER, buffer FAh), each
// filled from the user's choice. Only the first four bytes carry anything; the rest of the
// 256-byte page is 0.
#pragma once

#include <cstdint>

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "settings/settings_front_end.h"

constexpr uint8_t kWritePageBufferId = 0xFA;
constexpr uint32_t kWritePageSize = 256;

struct WritePage {
    uint8_t kind = 0;     // byte 0: which setting the page sets
    uint8_t subkind = 0;  // byte 1
    uint8_t value = 0;    // byte 2: the new value, coded as the settings page codes it
    uint8_t save = 0;     // byte 3: 1 asks the drive to keep the value as its saved value
};

// Optimal Writing Speed: 9, 0, ON (1) or OFF (0), save.
WritePage OptimalSpeedWritePage(const SettingChoice& choice);

// Audio Optimized Write Mode: 2, 80h, low speed playback (1) or high speed playback (0), save.
WritePage AudioModeWritePage(const SettingChoice& choice);

// Sends the page by the calling protocol under the caller's acquisition of the mutex: the
// DataOutBuffer's first 256 bytes are cleared and the page put at its start. The buffer mode and
// offset are those the command block holds from the settings read before it (mode 1, offset 0).
// Returns the CommandStatus; only a read-back proves that the drive took the value.
int32_t SendWritePage(DriveState& state, CommandRunner& runner, const DriveLock& held,
                      const WritePage& page);
