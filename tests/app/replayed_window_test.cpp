// The window's start-up on every diagnostic report kept in tests/replays: the drives the report
// found supported are in the drive list with the text the report recorded; a report whose
// optical drive did not identify itself gets the window's message that says why, in both
// languages.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "app/demo_console.h"
#include "app/demo_replay_option.h"
#include "res/resource_catalog.h"
#include "tests/private_runtime_dir.h"

namespace {

nlohmann::json ReadJson(const std::filesystem::path& path) {
    std::ifstream file(path);
    return nlohmann::json::parse(file, nullptr, false);
}

std::string StartUp(const ReplayedReport& report, uint16_t language) {
    std::ostringstream out;
    EXPECT_EQ(0, RunConsoleDemo(language, out, &report));
    return out.str();
}

TEST(ReplayedWindow, StartsWithTheRecordedDrivesOrSaysWhyThereAreNone) {
    const PrivateRuntimeDir runtime;
    int replays = 0;
    for (const auto& entry : std::filesystem::directory_iterator(REPLAYS_DIR)) {
        if (entry.path().extension() != ".json") {
            continue;
        }
        ++replays;
        SCOPED_TRACE(entry.path().filename().string());
        ReplayedReport report;
        ASSERT_TRUE(LoadReplayedReport(entry.path().string(), &report).Loaded());
        const std::string english = StartUp(report, kLanguageEnglish);
        bool anySupported = false;
        const nlohmann::json document = ReadJson(entry.path());
        for (const auto& recording : document["recordings"]) {
            const std::string name = recording["device"]["name"];
            if (recording["probe"] == "supported") {
                anySupported = true;
                const std::string listed = name + " " + recording["inquiry"].get<std::string>();
                EXPECT_NE(std::string::npos, english.find(" " + listed + "\n")) << english;
            }
        }
        if (!anySupported) {
            // The whole message, longer than a line of the log: the advice at its end too.
            EXPECT_NE(std::string::npos, english.find("the maker's identification query"))
                << english;
            EXPECT_NE(std::string::npos, english.find("or connect the drive directly.")) << english;
            const std::string japanese = StartUp(report, kLanguageJapanese);
            EXPECT_NE(std::string::npos, japanese.find("メーカーの識別照会")) << japanese;
            EXPECT_NE(std::string::npos, japanese.find("ドライブを直接接続してください。"))
                << japanese;
        }
    }
    EXPECT_GE(replays, 5);
}

// The demo's one option: no option is the demo's drives; --replay FILE a report that loads; any
// other command line, or a report that does not load, is refused with the reason.
TEST(ReplayedWindow, TheDemoTakesOnlyAReportThatLoads) {
    const std::string file = std::string(REPLAYS_DIR) + "/demo-7315.json";
    const std::string missing = std::string(REPLAYS_DIR) + "/missing.json";
    struct Case {
        std::vector<std::string> arguments;
        uint16_t language;
        DemoDrives expected;
        std::string said;
    } cases[] = {
        {{"demo"}, kLanguageEnglish, DemoDrives::kDemo, ""},
        {{"demo", "--replay", file}, kLanguageEnglish, DemoDrives::kReplay, ""},
        {{"demo", "--replay"}, kLanguageEnglish, DemoDrives::kRefused, "Usage: demo [--replay"},
        {{"demo", "--other", file}, kLanguageJapanese, DemoDrives::kRefused, "使い方: demo"},
        {{"demo", "--replay", missing},
         kLanguageEnglish,
         DemoDrives::kRefused,
         "cannot be replayed: " + missing + ": No such file"},
        {{"demo", "--replay", missing},
         kLanguageJapanese,
         DemoDrives::kRefused,
         "診断レポートを再生できません: " + missing},
    };
    for (Case& c : cases) {
        std::vector<char*> argv;
        for (std::string& argument : c.arguments) {
            argv.push_back(&argument[0]);
        }
        std::ostringstream err;
        ReplayedReport report;
        EXPECT_EQ(
            ReadDemoOptions(static_cast<int>(argv.size()), argv.data(), c.language, err, &report),
            c.expected);
        EXPECT_EQ(c.said.empty(), err.str().empty()) << err.str();
        EXPECT_TRUE(c.said.empty() || err.str().find(c.said) != std::string::npos) << err.str();
    }
}

}  // namespace
