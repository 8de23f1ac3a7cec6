// velmora-drive, the command-line companion: the system's console, language and drives handed
// to the command line (cli/).
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_drive_systems.h"
#include "cli/cli_program.h"
#include "cli/output_language.h"
#include "platform/access_remedy.h"
#include "platform/console_session.h"

int main(int argc, char** argv) {
    const Utf8ConsoleOutput utf8Console;
    const std::vector<std::string> arguments(argv, argv + argc);
    const CliEnvironment environment{std::cout, std::cerr, OutputLanguageOfProcess(),
                                     SystemAccessRemedy(), MakeCliDriveSystem};
    return RunCli(arguments, environment);
}
