// CWinApp: the application object. Run() calls the start-up hook, InitInstance, and then the
// shutdown hook, ExitInstance, whose result is the process's exit code. There is no message loop
// outside modal dialogs: a program lives inside the dialog that InitInstance runs.
#pragma once

#include "dialog/dialog.h"
#include "dialog/dialog_backend.h"

class CWinApp {
public:
    explicit CWinApp(DialogBackend& backend) : backend_(backend) {}
    virtual ~CWinApp() = default;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    int Run();
    DialogBackend& Backend() const { return backend_; }

    // False: the application ends at once (ExitInstance still runs).
    virtual bool InitInstance() { return false; }
    virtual int ExitInstance() { return 0; }

protected:
    // Runs the dialog modally as the application's main window; OnMainWindowCreated is called
    // as soon as its window exists.
    int RunMainDialog(CDialog& dialog);
    virtual void OnMainWindowCreated(CDialog& /*dialog*/) {}

private:
    DialogBackend& backend_;
};
