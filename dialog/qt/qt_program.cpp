#include "dialog/qt/qt_program.h"

#include <QApplication>

#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_program_end_requests.h"
#include "dialog/user_language.h"
#include "platform/window_activation.h"

int RunQtProgram(const char* programPath, const char* desktopEntry, const ResourceCatalog& catalog,
                 const std::function<int(DialogBackend& backend)>& program) {
    // Before Qt connects to the display: its xcb plugin takes DESKTOP_STARTUP_ID out of the
    // environment, and a later start hands it on to the first instance.
    LaunchActivation();
    int argumentCount = 1;
    char* arguments[] = {const_cast<char*>(programPath), nullptr};
    QApplication application(argumentCount, arguments);
    // The program ends when its main dialog returns, not when Qt sees its last window close.
    QApplication::setQuitOnLastWindowClosed(false);
    if (desktopEntry != nullptr) {
        QGuiApplication::setDesktopFileName(QString::fromLatin1(desktopEntry));
    }
    QtDialogBackend backend(catalog, UserLanguageFromLocale());
    const QtProgramEndRequests endRequests(backend);
    return program(backend);
}
