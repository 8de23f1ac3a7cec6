// The Linux window's "Save diagnostic report..." on the Qt backend: the context menu's item after
// the About item, and the QFileDialog it opens: modal to the window, for saving, in the home
// folder with the dated name suggested and the report's file type; the report is written where
// the user chose, and a cancelled dialog writes nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTest>
#include <filesystem>

#include "dialog/qt/qt_dialog_window.h"
#include "tests/qt/qt_window_driver.h"
#include "tests/ui/driven_main_window_rig.h"

namespace {

const WindowBackendCase kQt{"qt", [](uint16_t language) -> std::unique_ptr<WindowDriver> {
                                return std::make_unique<QtWindowDriver>(language);
                            }};

struct QtReportWindow : DrivenMainWindowRig {
    QtReportWindow() : DrivenMainWindowRig(kQt, kLanguageEnglish) {
        services.diagnosticReport = [this](DriveAccessMutex&) {
            ++reportsMade;
            return std::string("{\"command\": \"report\"}\n");
        };
        EXPECT_TRUE(Open());
    }
    QtDialogBackend& Qt() { return static_cast<QtWindowDriver&>(*driver).Qt(); }
    QtDialogWindow* Window() { return static_cast<QtDialogWindow*>(Qt().WindowWidget(*dialog)); }
    // The menu's second item, the report's; triggered as a user chooses it.
    QAction* ReportItem() {
        menu = Window()->BuildWindowMenu();
        QList<QAction*> items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                items.push_back(action);
            }
        }
        return items.size() == 2 ? items[1] : nullptr;
    }

    std::unique_ptr<QMenu> menu;
    int reportsMade = 0;
};

TEST(QtDiagnosticReport, TheMenuItemOpensASaveDialogInTheHomeFolderAndWritesTheChosenFile) {
    QtReportWindow w;
    QAction* item = w.ReportItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Save diagnostic report..."));

    const std::string file =
        (std::filesystem::temp_directory_path() / "qt-diagnostic-report.json").string();
    std::filesystem::remove(file);
    QString title, directory, suggested, filter;
    QWidget* owner = nullptr;
    bool saving = false;
    w.Qt().SetSaveFileDialogHook([&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        directory = dialog.directory().absolutePath();
        suggested = dialog.selectedFiles().value(0);
        filter = dialog.nameFilters().value(0);
        owner = dialog.parentWidget();
        saving = dialog.acceptMode() == QFileDialog::AcceptSave;
        dialog.selectFile(QString::fromStdString(file));
        static_cast<QDialog&>(dialog).accept();  // as the Save button does
    });
    item->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(file); }, 3000));
    EXPECT_EQ(title, QStringLiteral("Save diagnostic report"));
    EXPECT_EQ(directory, QDir::homePath());
    EXPECT_TRUE(QFileInfo(suggested).fileName().startsWith("velmora-drive-report-"));
    EXPECT_EQ(filter, QStringLiteral("Diagnostic reports (*.json)"));
    EXPECT_EQ(owner, w.Window());
    EXPECT_TRUE(saving);
    QFile written(QString::fromStdString(file));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("{\"command\": \"report\"}\n"));
    std::filesystem::remove(file);

    w.Qt().SetSaveFileDialogHook([](QFileDialog& dialog) { dialog.reject(); });
    w.ReportItem()->trigger();
    QTest::qWait(100);
    EXPECT_EQ(w.reportsMade, 1);
    EXPECT_TRUE(w.driver->IsOpen());
}

}  // namespace
