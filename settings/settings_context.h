// What the settings operations work with: the drive and its calling protocol, the front end the
// user works with, the supported-settings and apply flags, and the drive's readiness for an audio
// mode change. The front end builds one from the things it owns and hands it to each operation.
#pragma once

#include "drive/audio_readiness.h"
#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "settings/settings_front_end.h"
#include "settings/supported_settings.h"

struct SettingsContext {
    DriveState& drive;
    DriveAccessMutex& mutex;
    CommandRunner& runner;
    SettingsFrontEnd& frontEnd;
    SupportedSettings& supported;
    ApplyFlags& apply;
    const AudioReadiness& readiness;
};
