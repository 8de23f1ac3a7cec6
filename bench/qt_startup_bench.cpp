// Start-up of the native demo on the Qt backend, measured inside the process: from the launch
// (the launcher's CLOCK_REALTIME reading in nanoseconds, the first argument; main's own time when
// there is none) to main, to the window showing, and to the drives' report being complete in the
// log box. The window is then closed. A measurement, not a test: bench/native_vs_wine.sh runs it.
#include <sys/resource.h>
#include <time.h>

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QThread>
#include <cstdio>
#include <cstdlib>

#include "app/demo_program.h"
#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_display_text.h"
#include "dialog/qt/qt_program.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"

namespace {

constexpr long long kGiveUpNs = 10'000'000'000LL;

long long NowNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// CPU time of the process so far, user and system, which the machine's load does not stretch.
double CpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The report is three lines, the last the audio mode of drive E.
bool ReportShown(const QPlainTextEdit& log, const QString& lastPiece) {
    const QString text = log.toPlainText();
    return text.count(QLatin1Char('\n')) == 2 && text.endsWith(lastPiece);
}

}  // namespace

int main(int argc, char** argv) {
    const long long mainNs = NowNs();
    const long long launchNs = argc > 1 ? std::atoll(argv[1]) : mainNs;
    long long shownNs = 0;
    long long reportNs = 0;
    double reportCpuMs = 0;
    const int exitCode =
        RunQtProgram(argv[0], nullptr, GeneratedResourceCatalog(), [&](DialogBackend& backend) {
            auto& qt = static_cast<QtDialogBackend&>(backend);
            qt.SetModalHook([&](CDialog& dialog) {
                shownNs = NowNs();
                auto* log = qobject_cast<QPlainTextEdit*>(qt.ControlWidget(dialog, IDC_LOG_EDIT));
                const QString lastPiece = DisplayText(qt.Text(), qt.LoadText(IDS_HIGH_SPEED_MODE));
                while (!ReportShown(*log, lastPiece) && NowNs() - shownNs < kGiveUpNs) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
                    QThread::usleep(100);
                }
                reportNs = ReportShown(*log, lastPiece) ? NowNs() : 0;
                reportCpuMs = CpuMs();
                dialog.EndDialog(kIdCancel);
            });
            return RunDemo(backend);
        });
    if (reportNs == 0) {
        std::fprintf(stderr, "the report never reached the log box\n");
        return 1;
    }
    std::printf(
        "main %.1f ms, window shown %.1f ms, report in the log box %.1f ms, CPU used %.1f ms\n",
        (mainNs - launchNs) / 1e6, (shownNs - launchNs) / 1e6, (reportNs - launchNs) / 1e6,
        reportCpuMs);
    return exitCode;
}
