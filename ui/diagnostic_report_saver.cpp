#include "ui/diagnostic_report_saver.h"

#include <fstream>

#include "res/resource_ids.h"
#include "settings/user_message.h"

std::string SuggestedReportFileName(std::time_t now) {
    char date[16] = {};
    const std::tm* local = std::localtime(&now);
    if (local == nullptr || std::strftime(date, sizeof date, "%Y-%m-%d", local) == 0) {
        return "velmora-drive-report.json";
    }
    return std::string("velmora-drive-report-") + date + ".json";
}

void AppendDiagnosticReportItem(CDialog& window) {
    DialogWindow* shown = window.Window();
    const std::string text = window.LoadText(IDS_REPORT_MENU_ITEM);
    if (shown != nullptr && shown->HasSystemMenu() && !text.empty()) {
        shown->AppendSystemMenuItem(IDM_DIAGNOSTIC_REPORT, text);
    }
}

void SaveDiagnosticReport(CDialog& window, const DiagnosticReportMaker& makeReport,
                          DriveAccessMutex* mutex) {
    if (mutex == nullptr) {
        window.ShowMessageBox(window.LoadText(IDS_CREATE_MUTEX_FAILED));
        return;
    }
    const SaveFileRequest request{window.LoadText(IDS_REPORT_SAVE_TITLE),
                                  window.LoadText(IDS_REPORT_FILE_TYPES),
                                  SuggestedReportFileName(std::time(nullptr))};
    ChosenFile chosen;
    DialogWindow* shown = window.Window();
    if (shown == nullptr || !shown->ChooseFileToSave(request, &chosen)) {
        return;
    }
    // Opened first: a file that cannot be written costs the drives no command.
    std::ofstream file(chosen.path, std::ios::binary | std::ios::trunc);
    if (file) {
        file << makeReport(*mutex);
        file.close();
    }
    if (file.fail()) {
        window.ShowMessageBox(
            FillPlaceholder(window.LoadText(IDS_REPORT_NOT_SAVED), chosen.shownName));
    }
}
