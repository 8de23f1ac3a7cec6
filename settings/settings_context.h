// What the settings operations work with: the drive and its calling protocol, the front end the
// user works with, the supported-settings and apply flags, and the drive's readiness for an audio
// mode change, and what keeps other writers off the drive. The front end builds one from the
// things it owns and hands it to each operation.
#pragma once

#include "drive/audio_readiness.h"
#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/drive_access_mutex.h"
#include "settings/drive_write_access.h"
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
    // Keeps other writers off the drive while an apply writes it; none by default (nothing is
    // taken beyond the mutex).
    DriveWriteAccess* writeAccess = nullptr;
};
