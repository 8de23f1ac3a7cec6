// A diagnostic report as the JSON document a user attaches to a bug report (described, as
// velmora-drive's other documents are, by cli/velmora-drive.schema.json; its fields in
// report/README.md). The program block has
// the shape of velmora-drive's other documents: version, arguments, messages with a severity
// each, exit status; and names the program that made it and the system it was built for.
//
// Nothing personal beyond the user's and the groups' names: the home folder is shown as "~"
// where an argument holds it, and the program's own path is cut to its file name.
#pragma once

#include <string>
#include <vector>

#include "report/diagnostic_report.h"

struct ReportMessage {
    std::string text;      // English
    std::string code;      // the kind of message, whatever the words ("drive_busy")
    std::string severity;  // "information", "warning" or "error"
};

struct ReportProgram {
    std::string name;                    // "velmora-drive", "velmora-drive-utility"
    std::string version;                 // "1.1.8.0"
    std::vector<std::string> arguments;  // the command line, program name first
    bool demo = false;                   // the demo's simulated drives, not the system's
    std::vector<ReportMessage> messages;
    int exitStatus = 0;
};

// The numbers of a dotted version ("1.1.8.0"), as the program block's version gives them.
std::vector<long> VersionNumbers(const std::string& version);

// The system the program was built for: "linux-x86_64", "windows-i686", ...
const char* BuiltFor();

// The document, ending with a line break.
std::string FormatReportDocument(const ReportProgram& program, const DiagnosticReport& report);
