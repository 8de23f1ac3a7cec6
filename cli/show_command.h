// velmora-drive show [DEVICE]: both settings of the drive, current and saved in the drive, and
// whether the audio mode can be changed now (one read of the ready byte).
#pragma once

#include "cli/command_context.h"

void RunShowCommand(CommandContext& context);
