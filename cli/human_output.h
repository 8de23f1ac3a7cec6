// The report as a person reads it, in the language of the texts: the drive (or the drive list)
// and its settings on stdout with the window's labels and values, the messages after it:
// information on stdout, warnings and errors on stderr.
#pragma once

#include <ostream>

#include "cli/cli_report.h"
#include "cli/cli_texts.h"

void WriteHumanOutput(const CliReport& report, const CliTexts& texts, std::ostream& out,
                      std::ostream& err);
