// The native demo of the build without a GUI (DRIVE_UTILITY_GUI=memory): the main window runs
// on the in-memory backend and is printed as text; with --replay FILE on the drives a diagnostic
// report recorded. The language follows the user's locale, as the Windows program's resources
// do: Japanese for ja*, English otherwise.
#include <iostream>

#include "app/demo_console.h"
#include "app/demo_replay_option.h"
#include "dialog/user_language.h"

int main(int argc, char** argv) {
    const uint16_t language = UserLanguageFromLocale();
    ReplayedReport report;
    const DemoDrives drives = ReadDemoOptions(argc, argv, language, std::cerr, &report);
    if (drives == DemoDrives::kRefused) {
        return kDemoRefusedExitCode;
    }
    return RunConsoleDemo(language, std::cout, drives == DemoDrives::kReplay ? &report : nullptr);
}
