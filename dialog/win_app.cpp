#include "dialog/win_app.h"

int CWinApp::Run() {
    // A true result would ask for an application message loop; no program here needs one, so
    // both results lead straight to shutdown.
    InitInstance();
    return ExitInstance();
}

int CWinApp::RunMainDialog(CDialog& dialog) {
    dialog.SetWindowCreatedHook([this](CDialog& created) { OnMainWindowCreated(created); });
    const int result = dialog.DoModal();
    dialog.SetWindowCreatedHook(nullptr);
    return result;
}
