// The native demo end to end: the program with its two simulated drives, printed as a person
// would see it. One test for both languages: the runs share the demo's single-instance name, so
// they must not overlap; and they claim it in a runtime directory of their own, so that a demo
// open elsewhere on the machine cannot take it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/demo_console.h"
#include "res/resource_catalog.h"
#include "tests/private_runtime_dir.h"

namespace {

// The text of one "== heading" section of the output, up to the next one.
std::string Section(const std::string& output, const std::string& heading) {
    const size_t start = output.find("== " + heading + "\n");
    if (start == std::string::npos) {
        return "";
    }
    const size_t end = output.find("\n== ", start + 1);
    return output.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int Occurrences(const std::string& text, const std::string& piece) {
    int count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

const char kDriveE[] = "E: VELMORA CD-R DRIVE 7315 1.18";
const char kDriveG[] = "G: VELMORA CD-R DRIVE 7305 1.02";

TEST(DemoConsole, ShowsBothDrivesTheirSettingsAndOneReportPerCheckInBothLanguages) {
    const PrivateRuntimeDir runtime;
    std::ostringstream english;
    EXPECT_EQ(0, RunConsoleDemo(kLanguageEnglish, english));
    const std::string start = Section(english.str(), "Start-up");
    EXPECT_NE(std::string::npos,
              start.find(std::string("  drive list:\n  > ") + kDriveE + "\n    " + kDriveG + "\n"))
        << start;
    EXPECT_NE(std::string::npos, start.find("  log box:\n"
                                            "    | Current drive setting\n"
                                            "    | Optimal Writing Speed : ON\n"
                                            "    | Audio Optimized Write Mode : High speed "
                                            "playback mode\n"
                                            "  (o) ON\n  ( ) OFF\n"))
        << start;
    EXPECT_NE(std::string::npos, start.find("  (o) High speed playback mode\n"
                                            "  ( ) Low speed playback mode\n"))
        << start;
    EXPECT_NE(std::string::npos,
              start.find("    Writing will be prioritized for high speed playback environments\n"));

    const std::string second = Section(english.str(), "The second drive chosen");
    const std::string reportG =
        "    | Current drive setting\n"
        "    | Optimal Writing Speed : OFF\n"
        "    | Audio Optimized Write Mode : This function is not supported\n";
    EXPECT_NE(std::string::npos,
              second.find(std::string("    ") + kDriveE + "\n  > " + kDriveG + "\n"))
        << second;
    EXPECT_NE(std::string::npos, second.find(reportG + "  ( ) ON\n  (o) OFF\n")) << second;
    // G has no audio mode: its radio buttons stay unchecked and the description is E's.
    EXPECT_NE(std::string::npos, second.find("  ( ) High speed playback mode")) << second;
    EXPECT_NE(std::string::npos, second.find("  ( ) Low speed playback mode")) << second;
    EXPECT_NE(
        std::string::npos,
        second.find("    Writing will be prioritized for high speed playback environments\n"));

    const std::string checked = Section(english.str(), "Check setting pressed");
    EXPECT_EQ(1, Occurrences(checked, "Current drive setting")) << checked;
    EXPECT_NE(std::string::npos, checked.find("  log box:\n" + reportG)) << checked;
    EXPECT_EQ(0, Occurrences(english.str(), "Message box")) << english.str();

    std::ostringstream japanese;
    EXPECT_EQ(0, RunConsoleDemo(kLanguageJapanese, japanese));
    EXPECT_NE(std::string::npos, Section(japanese.str(), "Start-up")
                                     .find("    | 【現在のドライブの設定】\n"
                                           "    | 最適記録倍速 ： ON\n"
                                           "    | Audio最適記録モード ： 高速再生重視モード\n"))
        << japanese.str();
    EXPECT_NE(std::string::npos, Section(japanese.str(), "Check setting pressed")
                                     .find("    | Audio最適記録モード ： "
                                           "この機能には対応していない機種です\n"))
        << japanese.str();
    EXPECT_NE(std::string::npos, japanese.str().find("  <現在の設定を確認する>\n"));
}

}  // namespace
