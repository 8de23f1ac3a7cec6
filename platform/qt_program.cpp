#include "platform/qt_program.h"

#include <QApplication>
#include <QFileInfo>

#include "platform/qt_dialog_backend.h"
#include "platform/user_language.h"

int RunQtProgram(const char* programPath, const ResourceCatalog& catalog,
                 const std::function<int(DialogBackend& backend)>& program) {
    int argumentCount = 1;
    char* arguments[] = {const_cast<char*>(programPath), nullptr};
    QApplication application(argumentCount, arguments);
    // The program ends when its main dialog returns, not when Qt sees its last window close.
    QApplication::setQuitOnLastWindowClosed(false);
    // The desktop matches the window to the program's desktop entry and icon by this name.
    QGuiApplication::setDesktopFileName(QFileInfo(QString::fromLocal8Bit(programPath)).fileName());
    QtDialogBackend backend(catalog, UserLanguageFromLocale());
    return program(backend);
}
