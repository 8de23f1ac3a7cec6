// velmora-drive report [DEVICE] [-o FILE]: the diagnostic report (report/) as one JSON document
// on stdout or in the file, whatever --json says. What stops part of it (no such device, the
// drives held by another program, a request to end the program) is told in the document's
// messages and on stderr in the user's language, and gives the exit code; the system's facts are
// reported all the same. Only reads are sent to the drives.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_program.h"
#include "cli/command_line.h"

// arguments: the whole command line, program name first. Returns the exit code.
int RunReportCommand(const CliRequest& request, const std::vector<std::string>& arguments,
                     const CliEnvironment& environment);
