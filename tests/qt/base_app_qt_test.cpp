// The application object, unchanged, on the Qt backend: it runs the main window modally as the
// only instance, a later start brings that window forward instead of opening another, and the
// program ends with the window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <string>

#include "app/base_app.h"
#include "dialog/qt/qt_dialog_backend.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "tests/private_runtime_dir.h"

namespace {

TEST(QtApplication, RunsTheMainWindowAsTheOnlyInstanceUntilItIsClosed) {
    const PrivateRuntimeDir runtime;
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    SimulatedTransport drives;
    drives.AddDrive('E');
    DriveState drive{drives};
    MediaWatcher watcher;
    MainWindowServices services{drive, watcher};
    services.listCandidates = DriveLetterCandidates;
    services.osPlatformId = [] { return kOsPlatformNt; };
    const std::string name = "VelmoraDriveUtilityQtApp-" + std::to_string(getpid());

    std::vector<int> modal;
    bool reportShown = false;
    bool secondStartRefused = false;
    bool broughtForward = false;
    backend.SetModalHook([&](CDialog& dialog) {
        modal.push_back(dialog.TemplateId());
        QDialog* window = backend.WindowWidget(dialog);
        auto* log = qobject_cast<QPlainTextEdit*>(backend.ControlWidget(dialog, IDC_LOG_EDIT));
        reportShown = QTest::qWaitFor(
            [&] { return log->toPlainText().startsWith(QStringLiteral("Current drive setting")); },
            5000);
        window->showMinimized();
        std::unique_ptr<SingleInstanceMapping> second;
        secondStartRefused =
            ClaimSingleInstance(name.c_str(), &second) == InstanceClaim::kAlreadyRunning;
        broughtForward = QTest::qWaitFor([&] { return !window->isMinimized(); }, 2000);
        QTest::mouseClick(backend.ControlWidget(dialog, kIdCancel), Qt::LeftButton);
    });

    CBaseApp application(backend, services, name.c_str());
    EXPECT_EQ(application.Run(), 0);
    EXPECT_EQ(modal, std::vector<int>{IDD_MAIN});
    EXPECT_TRUE(reportShown);
    EXPECT_TRUE(secondStartRefused);
    EXPECT_TRUE(broughtForward);
    EXPECT_EQ(drive.driveHandle, kNoDevice);
    std::unique_ptr<SingleInstanceMapping> after;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &after), InstanceClaim::kFirst);
}

}  // namespace
