// The main window's setting controls mirror the selected drive: what it supports, its current
// values, and whether anything can be done with it at all. The description below the audio
// radio buttons explains the chosen audio mode.
#pragma once

#include "dialog/dialog_controls.h"
#include "settings/settings_context.h"

// disableAll 1: switches the nine setting controls off without touching the drive. Any other
// value: enables them, reads the settings page and sets each control from it (Check setting is
// enabled only once the read has succeeded); a failed read queues "unexpected error" and
// switches all nine off.
void UpdateControls(SettingsContext& context, DialogControls& controls, int disableAll);

// Disables Apply, Restore Factory Default, Check setting, both speed radio buttons and the
// save-speed box, both audio radio buttons and the save-audio box.
void DisableSettingControls(DialogControls& controls);

enum class AudioMode { kHighSpeedPlayback, kLowSpeedPlayback };

// Sets the description text to the chosen mode's explanation.
void ShowAudioModeDescription(DialogControls& controls, AudioMode mode);
