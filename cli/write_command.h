// velmora-drive set and restore: the settings named (or the factory values) written through the
// settings code the window uses (ApplySettings, RestoreFactoryDefault), so the same rules hold:
// a disc stopped before saving, the audio mode refused while the drive is not ready, every
// write confirmed by reading the page back and Optimal Writing Speed retried. The page is read
// once more afterwards to report what the drive now holds.
#pragma once

#include "cli/command_context.h"

void RunWriteCommand(CommandContext& context);
