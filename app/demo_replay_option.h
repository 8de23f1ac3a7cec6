// The demo's one option, --replay FILE: run on the drives a diagnostic report recorded instead of
// the demo's own. A report that cannot be replayed is said so on stderr in the user's language.
#pragma once

#include <cstdint>
#include <ostream>

#include "sim/replayed_report.h"

enum class DemoDrives { kDemo, kReplay, kRefused };

// Reads argv (argv[0] is the program); for kReplay, *report is the report's drives. kRefused: the
// option or the report was wrong, and err says why.
DemoDrives ReadDemoOptions(int argc, char** argv, uint16_t language, std::ostream& err,
                           ReplayedReport* report);

// The exit code for kRefused: a usage error.
constexpr int kDemoRefusedExitCode = 2;
