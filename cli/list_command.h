// velmora-drive list: every supported drive with its INQUIRY text, the model identifier it
// answered and the settings it has; with --all also the devices present that do not qualify.
#pragma once

#include "cli/command_context.h"

void RunListCommand(CommandContext& context);
