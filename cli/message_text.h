// The text of a report's message in one language: its texts joined, its arguments put in.
#pragma once

#include <string>

#include "cli/cli_report.h"
#include "cli/cli_texts.h"

std::string MessageText(const CliMessage& message, const CliTexts& texts);
