// One run of velmora-drive: reads the command line, runs the command against the drives the
// factory gives and prints the report, as text in the user's language or as JSON. Everything it
// needs from outside is handed in, so tests run it against simulated drives.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/drive_system.h"
#include "platform/access_remedy.h"

struct CliEnvironment {
    std::ostream& out;    // the report, help and version
    std::ostream& err;    // problems, and the trace lines of --trace
    uint16_t language;    // of the human output: kLanguageEnglish or kLanguageJapanese
    AccessRemedy remedy;  // what to advise a user the system refuses
    DriveSystemFactory drives;
    // Whether a request to end the program (a signal, Ctrl+C) has arrived; never when empty.
    std::function<bool()> interruptRequested = nullptr;
    // Whether a write through a Linux block node would pass its command filter; yes when empty.
    std::function<bool()> rawIoAllowed = nullptr;
    // The codeset of the human output (platform/locale_codeset.h); the JSON is UTF-8 whatever it
    // is.
    std::string codeset = "UTF-8";
    // report: where the system's files are ("/"; a test's fake tree).
    std::string systemRoot = "/";
};

// arguments: the whole command line, program name first. Returns the exit code (cli/exit_codes.h),
// which also tells when out or err could not be written.
int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment);

// Flushes out and err; false when either did not take everything written to it, and then, while
// err still works, a line there says so in the user's language.
bool OutputFlushed(const CliEnvironment& environment);
