// Bringing a window of this process to the front from any thread, by its native handle, as
// IsWindow and SetForegroundWindow do on Windows. A GUI backend registers every window it can
// bring forward while that window exists; the single-instance object asks for its published
// window when a later start of the program requests it, with what that start's launcher gave it
// to take the focus (a window system may refuse the focus without it).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/window_activation.h"

// bringToFront: called on the requesting thread, under the registry's lock; it must hand the
// work to the window's own thread and return at once.
void RegisterForegroundWindow(uintptr_t nativeWindow,
                              std::function<void(const WindowActivation&)> bringToFront);
// Once this returns, the window's function is not running and will not be called again.
void UnregisterForegroundWindow(uintptr_t nativeWindow);
// False when no registered window has that handle (it has gone, or its backend has no windows
// to bring forward).
bool RequestForegroundWindow(uintptr_t nativeWindow, const WindowActivation& launch = {});
