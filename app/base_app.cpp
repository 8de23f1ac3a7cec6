#include "app/base_app.h"

#include "dialog/window_foreground.h"
#include "ui/base_dlg.h"

// Split so that "D" does not continue the last hex escape.
const char kSingleInstanceName[] =
    "\x83\x94\x83\x46\x83\x8B\x83\x82\x83\x89"
    "DriveUtility";

CBaseApp::CBaseApp(DialogBackend& backend, MainWindowServices& services, const char* instanceName)
    : CWinApp(backend), services_(services), instanceName_(instanceName), log_(backend) {}

bool CBaseApp::InitInstance() {
    std::unique_ptr<SingleInstanceMapping> mapping;
    const InstanceClaim claim = ClaimSingleInstance(instanceName_, &mapping);
    if (claim == InstanceClaim::kAlreadyRunning || claim == InstanceClaim::kFailed) {
        return false;  // another instance runs (now in front), or the name cannot be had
    }
    instanceMapping_ = std::move(mapping);  // none when the name is not safely this user's

    CBaseDlg dialog(Backend(), log_, services_);
    RunMainDialog(dialog);  // OK or Cancel: the program ends the same way
    return false;
}

void CBaseApp::OnMainWindowCreated(CDialog& dialog) {
    if (instanceMapping_ != nullptr && dialog.Window() != nullptr) {
        const uintptr_t window = dialog.Window()->NativeHandle();
        instanceMapping_->PublishWindow(window, [window](const WindowActivation& launch) {
            RequestForegroundWindow(window, launch);
        });
    }
}

int CBaseApp::ExitInstance() {
    instanceMapping_.reset();
    return CWinApp::ExitInstance();
}
