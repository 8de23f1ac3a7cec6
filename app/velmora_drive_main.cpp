// velmora-drive, the command-line companion: the system's console, language and drives handed
// to the command line (cli/). A request to end the program (a signal, Ctrl+C) is recorded, not
// acted on at once, so that no write is cut from its read-back; a closed pipe fails the write
// to it instead of ending the program.
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_drive_systems.h"
#include "cli/cli_program.h"
#include "cli/output_language.h"
#include "platform/access_remedy.h"
#include "platform/console_session.h"
#include "platform/interrupt_signals.h"
#include "platform/locale_codeset.h"
#include "platform/raw_io_capability.h"

int main(int argc, char** argv) {
    RecordInterruptRequests();
    IgnoreBrokenPipes();
    const Utf8ConsoleOutput utf8Console;
    const std::vector<std::string> arguments(argv, argv + argc);
    const CliEnvironment environment{
        std::cout,          std::cerr,          OutputLanguageOfProcess(), SystemAccessRemedy(),
        MakeCliDriveSystem, InterruptRequested, HasRawIoCapability,        UserLocaleCodeset()};
    return RunCli(arguments, environment);
}
