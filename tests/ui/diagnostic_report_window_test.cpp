// The Linux window's "Save diagnostic report..." on the in-memory backend: the menu item, the
// file dialog it opens (title, file types, the name with the date), the report written where the
// user chose, nothing made or written when the user cancels, and the message when the file cannot
// be written. The report is the program's own, made through the window's drives.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "app/diagnostic_report_service.h"
#include "tests/ui/main_window_rig.h"

namespace {

struct ReportWindow : MainWindowRig {
    explicit ReportWindow(uint16_t language = kLanguageEnglish) : MainWindowRig(language) {
        char pattern[] = "/tmp/report-window.XXXXXX";
        folder = mkdtemp(pattern) != nullptr ? pattern : "";
        const DiagnosticReportMaker program = WindowDiagnosticReport(
            transport, DriveLetterCandidates, "velmora-drive-utility", {"velmora-drive-utility"});
        services.diagnosticReport = [this, program](DriveAccessMutex& mutex) {
            ++reportsMade;
            return program(mutex);
        };
        drives.AddDrive('E');
        EXPECT_TRUE(Open());
    }
    ~ReportWindow() { std::filesystem::remove_all(folder); }

    // The user chooses this file in the dialog.
    void Choose(const std::string& path) {
        host.SetSaveFileAnswerer([path](const SaveFileRequest&, ChosenFile* chosen) {
            *chosen = ChosenFile{path, path};
            return true;
        });
    }

    std::string folder;
    int reportsMade = 0;
};

// velmora-drive-report-YYYY-MM-DD.json
bool IsDatedReportName(const std::string& name) {
    const std::string pattern = "velmora-drive-report-0000-00-00.json";
    if (name.size() != pattern.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (pattern[i] == '0' ? !digit : name[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

std::string Contents(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

TEST(DiagnosticReportWindow, TheItemFollowsTheAboutItemAndSavesTheReportWhereTheUserChose) {
    ReportWindow w;
    const std::vector<SystemMenuItem> menu = w.host.SystemMenu();
    ASSERT_EQ(menu.size(), 3u);
    EXPECT_EQ(menu[2].commandId, unsigned{IDM_DIAGNOSTIC_REPORT});
    EXPECT_EQ(menu[2].text, "Save diagnostic report...");

    const std::string file = w.folder + "/report.json";
    w.Choose(file);
    EXPECT_TRUE(w.host.SendSysCommand(IDM_DIAGNOSTIC_REPORT).handled);
    ASSERT_EQ(w.host.SaveFileRequests().size(), 1u);
    const SaveFileRequest& asked = w.host.SaveFileRequests()[0];
    EXPECT_EQ(asked.title, "Save diagnostic report");
    EXPECT_EQ(asked.fileTypes, "Diagnostic reports (*.json)");
    EXPECT_TRUE(IsDatedReportName(asked.suggestedName)) << asked.suggestedName;
    const nlohmann::json report = nlohmann::json::parse(Contents(file));
    EXPECT_EQ(report["velmora_drive"]["program"], "velmora-drive-utility");
    ASSERT_EQ(report["recordings"].size(), 1u);
    EXPECT_EQ(report["recordings"][0]["device"]["name"], "E:");
    EXPECT_TRUE(w.host.MessageBoxes().empty());
    EXPECT_TRUE(w.host.IsOpen(*w.dialog));
}

TEST(DiagnosticReportWindow, CancellingOrAFileThatCannotBeWrittenMakesNoReportAndTheLatterIsTold) {
    ReportWindow w;
    w.host.SetSaveFileAnswerer([](const SaveFileRequest&, ChosenFile*) { return false; });
    w.host.SendSysCommand(IDM_DIAGNOSTIC_REPORT);
    EXPECT_EQ(w.reportsMade, 0);

    const std::string file = w.folder + "/no-such-folder/report.json";
    w.Choose(file);
    w.host.SendSysCommand(IDM_DIAGNOSTIC_REPORT);
    EXPECT_EQ(w.reportsMade, 0);  // the file is opened first
    ASSERT_EQ(w.host.MessageBoxes().size(), 1u);
    EXPECT_EQ(w.host.MessageBoxes()[0].text,
              "The diagnostic report could not be saved to " + file +
                  ". Choose a folder you may write to and that has free space.");
}

TEST(DiagnosticReportWindow, TheJapaneseItemAndDialog) {
    ReportWindow w(kLanguageJapanese);
    ASSERT_EQ(w.host.SystemMenu().size(), 3u);
    EXPECT_EQ(w.host.ToUtf8(w.host.SystemMenu()[2].text), "診断レポートを保存...");
    w.host.SendSysCommand(IDM_DIAGNOSTIC_REPORT);
    ASSERT_EQ(w.host.SaveFileRequests().size(), 1u);
    EXPECT_EQ(w.host.ToUtf8(w.host.SaveFileRequests()[0].title), "診断レポートの保存");
}

}  // namespace
