// Writing the settings shown in the main window into the selected drive (Apply), and writing the
// factory values (Restore Factory Default). Every write is proved by reading the settings page
// back; the outcome reaches the user as status lines and, for two failures, message boxes.
#pragma once

#include "settings/settings_context.h"

// Holds the DriveAccessMutex throughout, message boxes included. Empties the log box; when a disc
// is in and a save box is checked, stops the disc first (a failure there ends the apply with one
// status line). Writes Optimal Writing Speed, if supported, up to six times until the drive
// confirms it (message box "Cannot setting optimized write speed" after the sixth failure); then
// Audio Optimized Write Mode once if supported, unless the drive does not allow the change now
// (message box). Queues "complete" and sets the apply-succeeded flag only when at least one
// setting was written and every setting written was confirmed (Optimal Writing Speed before its
// sixth attempt).
void ApplySettings(SettingsContext& context);

// Sets the controls of the supported settings to the factory values (OFF, high speed playback,
// both saved, with the high speed description) and applies them; a successful apply then shows
// "default setting" instead of "complete".
void RestoreFactoryDefault(SettingsContext& context);
