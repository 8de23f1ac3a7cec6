// The Win32 dialog backend: real dialog windows created from the executable's dialog resources
// (the system picks the language), narrow texts in the process's ANSI code page.
#pragma once

#include <memory>

#include "dialog/dialog_backend.h"

// moduleInstance: the HINSTANCE whose resources hold the templates, strings and icons.
std::unique_ptr<DialogBackend> CreateWin32DialogBackend(void* moduleInstance);
