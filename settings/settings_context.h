// What the settings operations work with: the drive and its calling protocol, the main window's
// controls, its status log, the supported-settings and apply flags, and the drive's readiness
// for an audio mode change. The main window builds one from the things it owns and hands it to
// each operation.
#pragma once

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "platform/dialog_controls.h"
#include "platform/drive_access_mutex.h"
#include "settings/audio_readiness.h"
#include "settings/status_log.h"
#include "settings/supported_settings.h"

struct SettingsContext {
    DriveState& drive;
    DriveAccessMutex& mutex;
    CommandRunner& runner;
    DialogControls& controls;
    StatusLog& log;
    SupportedSettings& supported;
    ApplyFlags& apply;
    const AudioReadiness& readiness;
};
