// Entry point of the Windows program: the Win32 dialog backend, the system's pass-through and the
// application.
#include <windows.h>

#include "app/drive_utility_program.h"
#include "dialog/win32/win32_dialog_backend.h"
#include "platform/system_scsi_transport.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    const std::unique_ptr<DialogBackend> backend = CreateWin32DialogBackend(instance);
    const std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    return RunDriveUtility(*backend, *transport);
}
