// The trace line of a command a simulated drive answered (drive/command_trace.h), for the trace
// files that tests read across a process boundary.
#pragma once

#include <string>

#include "drive/command_trace.h"
#include "sim/simulated_drive.h"

TracedCommand AsTracedCommand(const ReceivedCommand& command);
std::string FormatTraceLine(const ReceivedCommand& command);
