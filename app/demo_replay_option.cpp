#include "app/demo_replay_option.h"

#include <string>

#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"

namespace {

void Say(int stringId, uint16_t language, const std::string& why, std::ostream& err) {
    const char* found = GeneratedResourceCatalog().FindString(stringId, language);
    std::string text = found != nullptr ? found : "%s";
    const size_t at = text.find("%s");
    if (at != std::string::npos) {
        text.replace(at, 2, why);
    }
    err << text << "\n";
}

}  // namespace

DemoDrives ReadDemoOptions(int argc, char** argv, uint16_t language, std::ostream& err,
                           ReplayedReport* report) {
    if (argc < 2) {
        return DemoDrives::kDemo;
    }
    const std::string option = argv[1];
    if (option != "--replay" || argc != 3) {
        Say(IDS_DEMO_USAGE, language, argv[0], err);
        return DemoDrives::kRefused;
    }
    const ReplayLoad load = LoadReplayedReport(argv[2], report);
    if (!load.Loaded()) {
        Say(IDS_REPLAY_UNUSABLE, language, std::string(argv[2]) + ": " + load.detail, err);
        return DemoDrives::kRefused;
    }
    return DemoDrives::kReplay;
}
