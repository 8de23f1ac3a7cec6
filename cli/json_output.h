// The report as one JSON document on stdout, shaped as smartctl's --json output is: a format
// version, a block naming the program (version, arguments, messages with a severity each, exit
// status), the device block, and the values. Texts are English and values are words a script
// compares (on/off, high/low, confirmed, ...), whatever the user's language.
#pragma once

#include <ostream>

#include "cli/cli_report.h"

void WriteJsonOutput(const CliReport& report, std::ostream& out);
