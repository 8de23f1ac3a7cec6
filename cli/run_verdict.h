// What the user is told of a run: the findings the commands noted, in order, become the messages
// (by string id, so that each output renders them in its language) and the one exit code. This is
// the one place where an outcome gets its words and its exit code.
#pragma once

#include "cli/cli_report.h"
#include "platform/access_remedy.h"

// Fills report.messages and report.exitCode from report.findings (and report.write for the
// write); remedy: what to advise a user the system refuses.
void ConcludeReport(CliReport& report, AccessRemedy remedy);

// The exit code once the report has been printed: written false when stdout or stderr refused it
// (a closed pipe, a full disk), which a run that succeeded otherwise returns as its failure.
int ExitCodeAfterOutput(int exitCode, bool written);
