// Entry point of the Windows demo: the Win32 dialog backend and the simulated drives.
#include <windows.h>

#include "app/demo_program.h"
#include "dialog/win32/win32_dialog_backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
    const std::unique_ptr<DialogBackend> backend = CreateWin32DialogBackend(instance);
    return RunDemo(*backend);
}
