// The report of the selected drive's current settings (the Check setting button, and after
// every drive selection): three lines in the log box, and the two supported flags.
#pragma once

#include "settings/settings_context.h"

// Empties the log box, reads the settings page and queues the report in place of anything still
// queued. When the drive cannot be read it reports "unexpected error" and clears both flags.
void ReadCurrentSettings(SettingsContext& context);
