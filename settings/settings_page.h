// SettingsPage: the drive's 256-byte vendor settings page (READ BUFFER, buffer F4h, mode 1).
// Every test of a byte is an exact comparison; any other value counts as "not supported" or as
// the other choice.
#pragma once

#include <array>
#include <cstdint>

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"

constexpr uint8_t kSettingsBufferId = 0xF4;
constexpr uint8_t kSettingsPageMode = 1;
constexpr uint32_t kSettingsPageSize = 256;
constexpr int32_t kSettingsTimeoutSeconds = 10;

enum SettingsPageByte : int {
    kPageRestoreGuardFirst = 0,  // with byte 2: both 255 hides Restore Factory Default
    kPageRestoreGuardSecond = 2,
    kPageOptimalSpeedSupported = 18,
    kPageOptimalSpeedCurrent = 19,
    kPageOptimalSpeedSaved = 20,
    kPageAudioModeSupported = 21,
    kPageAudioModeCurrent = 22,
    kPageAudioModeSaved = 23,
};

// The page is read as far as its last setting byte: a shorter reply is no settings read.
constexpr uint32_t kSettingsReplyNeeded = kPageAudioModeSaved + 1;

struct SettingsPage {
    std::array<uint8_t, kSettingsPageSize> bytes{};

    bool OptimalSpeedSupported() const { return bytes[kPageOptimalSpeedSupported] == 1; }
    bool OptimalSpeedOn() const { return bytes[kPageOptimalSpeedCurrent] == 1; }
    bool AudioModeSupported() const { return bytes[kPageAudioModeSupported] == 1; }
    // Low speed playback mode; otherwise high speed playback mode.
    bool AudioModeLowSpeed() const { return bytes[kPageAudioModeCurrent] == 1; }
    bool FactoryDefaultOffered() const {
        return !(bytes[kPageRestoreGuardFirst] == 255 && bytes[kPageRestoreGuardSecond] == 255);
    }
};

// Reads the selected drive's page by the calling protocol; `held` is the caller's acquisition of
// the DriveAccessMutex; a read answered with UNIT ATTENTION is sent once more
// (CommandRunner::RunRead). Returns 1 and fills *page when the drive answered; 0 when the command
// failed, its worker outlasted the wait, the reply did not reach byte 23 or there is no reply
// buffer, leaving *page untouched.
int ReadSettingsPage(DriveState& state, CommandRunner& runner, const DriveLock& held,
                     SettingsPage* page);
