// CBaseApp: the application object. Runs the main window as the single instance of the program;
// a second start brings the running window to the front and ends without a window of its own.
// Where the single-instance name is not safely this user's (Linux: no private place for it, or
// another user's process in the way), the window runs without it rather than not at all.
#pragma once

#include <memory>

#include "dialog/win_app.h"
#include "platform/single_instance.h"
#include "ui/log_ring.h"
#include "ui/main_window_services.h"

// "ヴェルモラDriveUtility", the maker word in katakana, as Shift-JIS bytes.
extern const char kSingleInstanceName[];

class CBaseApp : public CWinApp {
public:
    // services: the drive state and system services the main window works with.
    // instanceName: the single-instance object's name (tests pass their own).
    CBaseApp(DialogBackend& backend, MainWindowServices& services,
             const char* instanceName = kSingleInstanceName);

    bool InitInstance() override;
    int ExitInstance() override;

protected:
    void OnMainWindowCreated(CDialog& dialog) override;

private:
    MainWindowServices& services_;
    const char* instanceName_;
    std::unique_ptr<SingleInstanceMapping> instanceMapping_;
    LogRing log_;
};
