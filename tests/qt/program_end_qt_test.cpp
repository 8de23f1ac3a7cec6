// A request from the system to end the program (SIGTERM, as at log-out) on the Qt backend: a
// handler under way goes on to its end, the boxes it shows are answered or not shown, nothing
// opened later waits for anyone, and the dialog ends only once the handler has returned; the
// real program then ends as if closed, its Apply's writes each read back, the drive closed, the
// watcher stopped and the single-instance name free.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "app/base_app.h"
#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_program_end_requests.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "tests/private_runtime_dir.h"

namespace {

std::vector<QString> warnings;
void KeepWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg) {
        warnings.push_back(message);
    }
}

bool NoMessageBoxOpen() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) == nullptr;
}

// Its Apply shows a box, opens a nested dialog and a file dialog, then shows another box.
class BusyDialog : public CDialog {
public:
    explicit BusyDialog(DialogBackend& backend) : CDialog(IDD_MAIN, backend) {}

    std::vector<std::string> steps;

protected:
    const MessageMap& GetMessageMap() const override {
        static constexpr MessageMapEntry kEntries[] = {
            MapClicked<&BusyDialog::OnApply>(IDC_APPLY),
            MapDestroy<&BusyDialog::OnDestroyed>(),
        };
        static const MessageMap kMap{&CDialog::BaseMessageMap(), kEntries, std::size(kEntries)};
        return kMap;
    }

private:
    void OnApply() {
        ShowMessageBox("first");
        Step("after first box");
        CDialog nested(IDD_ABOUTBOX, Backend(), this);
        Step("nested " + std::to_string(nested.DoModal()));
        ChosenFile chosen;
        Step(Window()->ChooseFileToSave({"Save", "Reports (*.json)", "r.json"}, &chosen)
                 ? "file chosen"
                 : "no file");
        Step("second box " + std::to_string(ShowMessageBox("second")));
    }
    void OnDestroyed() { Step("destroyed"); }
    void Step(const std::string& what) {
        const QWidget* window = static_cast<QtDialogBackend&>(Backend()).WindowWidget(*this);
        steps.push_back(what + (window != nullptr && window->isVisible() ? " (shown)" : ""));
    }
};

TEST(QtProgramEnd, AHandlerGoesOnToItsEndWithNothingWaitingAndOnlyThenTheDialogEnds) {
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    BusyDialog dialog(backend);
    std::vector<int> modal;
    std::vector<std::string> boxes;
    bool firstBoxClosed = false;
    bool fileDialogShown = false;
    backend.SetModalHook([&](CDialog& shown) {
        modal.push_back(shown.TemplateId());
        QTest::mouseClick(backend.ControlWidget(shown, IDC_APPLY), Qt::LeftButton);
    });
    backend.SetMessageBoxHook([&](const CDialog*, const std::string&, const std::string& text) {
        boxes.push_back(text);
        backend.RequestProgramEnd();
        firstBoxClosed = NoMessageBoxOpen();
    });
    backend.SetSaveFileDialogHook([&](QFileDialog&) { fileDialogShown = true; });

    warnings.clear();
    const QtMessageHandler before = qInstallMessageHandler(KeepWarning);
    EXPECT_EQ(dialog.DoModal(), kIdCancel);
    qInstallMessageHandler(before);
    // The unshown box's words reach the log (beside whatever Qt itself warns of).
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), QStringLiteral("qt_tests: second")), 1);
    EXPECT_EQ(modal, std::vector<int>{IDD_MAIN});
    EXPECT_EQ(boxes, std::vector<std::string>{"first"});
    EXPECT_TRUE(firstBoxClosed);
    EXPECT_FALSE(fileDialogShown);
    const std::vector<std::string> steps = {"after first box (shown)", "nested 2 (shown)",
                                            "no file (shown)", "second box 1 (shown)", "destroyed"};
    EXPECT_EQ(dialog.steps, steps);
}

struct RealProgram {
    RealProgram() {
        SimulatedDriveConfig on;
        on.optimalSpeed = 1;
        drives.AddDrive('E', on).SetWritesIgnored(true);  // OFF is never read back: box 149
        services.listCandidates = DriveLetterCandidates;
        services.osPlatformId = [] { return kOsPlatformNt; };
    }
    int Run() {
        const QtProgramEndRequests endRequests(backend);
        CBaseApp application(backend, services, name.c_str());
        return application.Run();
    }
    // The drive's commands without the watcher's polls (the ready byte: F4h, mode 0).
    std::vector<ReceivedCommand> Commands() {
        std::vector<ReceivedCommand> sent;
        for (const ReceivedCommand& command : drives.Drive('E')->Received()) {
            const bool poll =
                command.cdb[0] == 0x3C && command.cdb[1] == 0 && command.cdb[2] == 0xF4;
            if (!poll) {
                sent.push_back(command);
            }
        }
        return sent;
    }
    // Ended as a closed program ends: nothing open, the watcher stopped, the name free.
    void ExpectEverythingReleased() {
        EXPECT_EQ(drive.driveHandle, kNoDevice);
        EXPECT_EQ(drives.OpenHandleCount(), 0);
        const size_t received = drives.Drive('E')->ReceivedCount();
        QTest::qWait(30);
        EXPECT_EQ(drives.Drive('E')->ReceivedCount(), received);
        std::unique_ptr<SingleInstanceMapping> after;
        EXPECT_EQ(ClaimSingleInstance(name.c_str(), &after), InstanceClaim::kFirst);
    }

    const PrivateRuntimeDir runtime;
    const std::string name = "VelmoraDriveUtilityQtEnd-" + std::to_string(getpid());
    QtDialogBackend backend{GeneratedResourceCatalog(), kLanguageEnglish};
    SimulatedTransport drives;
    DriveState drive{drives};
    MediaWatcher watcher{MediaWatcherTiming{2}};
    MainWindowServices services{drive, watcher};
};

TEST(QtProgramEnd, SigtermInAnApplysBoxClosesItTheApplyEndsWithItsReadBacksAndTheProgramEnds) {
    RealProgram program;
    std::vector<int> boxes;
    bool boxClosedBySignal = false;
    program.backend.SetModalHook([&](CDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return program.watcher.IsReady() == 1; }, 5000));
        QTest::mouseClick(program.backend.ControlWidget(dialog, IDC_SPEED_OFF), Qt::LeftButton);
        QTest::mouseClick(program.backend.ControlWidget(dialog, IDC_APPLY), Qt::LeftButton);
    });
    program.backend.SetMessageBoxHook(
        [&](const CDialog*, const std::string&, const std::string& text) {
            boxes.push_back(text == program.backend.LoadText(IDS_SPEED_SET_FAILED) ? 149 : 0);
            raise(SIGTERM);
            boxClosedBySignal = QTest::qWaitFor(NoMessageBoxOpen, 5000);
        });

    EXPECT_EQ(program.Run(), 0);
    EXPECT_EQ(boxes, std::vector<int>{149});
    EXPECT_TRUE(boxClosedBySignal);
    // Six speed writes, then the audio mode's after the box: each one read back, the last
    // command the read-back.
    const std::vector<ReceivedCommand> sent = program.Commands();
    int writes = 0;
    for (size_t i = 0; i < sent.size(); ++i) {
        if (sent[i].cdb[0] == 0x3B) {
            ++writes;
            ASSERT_LT(i + 1, sent.size());
            EXPECT_EQ(sent[i + 1].cdb[0], 0x3C);
            EXPECT_EQ(sent[i + 1].cdb[2], 0xF4);
        }
    }
    EXPECT_EQ(writes, 7);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().cdb[0], 0x3C);
    program.ExpectEverythingReleased();
}

TEST(QtProgramEnd, SigtermWithNothingUnderWayEndsTheProgramAtOnce) {
    RealProgram program;
    bool ended = false;
    program.backend.SetModalHook([&](CDialog& dialog) {
        raise(SIGTERM);
        QWidget* window = program.backend.WindowWidget(dialog);
        ended = QTest::qWaitFor([window] { return !window->isVisible(); }, 5000);
    });
    EXPECT_EQ(program.Run(), 0);
    EXPECT_TRUE(ended);
    program.ExpectEverythingReleased();
}

}  // namespace
