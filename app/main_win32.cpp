// Entry point of the Windows program: the Win32 dialog backend and the application object.
// Our headers come before <windows.h>, whose macros (LoadString, MessageBox, ...) would rename
// the framework's members in this file.
#include "app/base_app.h"
#include "platform/win32_dialog_backend.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    const std::unique_ptr<DialogBackend> backend = CreateWin32DialogBackend(instance);
    CBaseApp application(*backend);
    return application.Run();
}
