// Entry point of the native demo: the Qt backend in the user's language and the demo's two
// simulated drives (app/demo_program.h), or with --replay FILE the drives a diagnostic report
// recorded. It has no desktop entry of its own.
#include <iostream>

#include "app/demo_program.h"
#include "app/demo_replay_option.h"
#include "dialog/qt/qt_program.h"
#include "dialog/user_language.h"
#include "res/generated_resource_catalog.h"

int main(int argc, char** argv) {
    ReplayedReport report;
    const DemoDrives drives =
        ReadDemoOptions(argc, argv, UserLanguageFromLocale(), std::cerr, &report);
    if (drives == DemoDrives::kRefused) {
        return kDemoRefusedExitCode;
    }
    return RunQtProgram(argv[0], nullptr, GeneratedResourceCatalog(),
                        [drives, &report](DialogBackend& backend) {
                            return drives == DemoDrives::kReplay ? RunReplayDemo(backend, report)
                                                                 : RunDemo(backend);
                        });
}
