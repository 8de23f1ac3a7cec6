// Bringing a top-level window forward for another start of the program, with what that start's
// launcher handed it, so that the window system lets the window take the focus:
//  - Wayland: the compositor moves the focus only for a valid xdg-activation token. Qt 6.4's
//    xdg-shell integration (QWaylandXdgSurface::requestActivate) takes the token from
//    XDG_ACTIVATION_TOKEN as QWindow::requestActivate runs, and unsets it; other ways of handing
//    it over are private to Qt. So the token is put there for that one call.
//  - X11: Qt 6.4's xcb plugin uses a startup id only for the windows it maps after learning it
//    (_NET_STARTUP_ID, and "remove" once the first is shown); its requestActivate sends
//    _NET_ACTIVE_WINDOW with the time of the last event this process saw, which a window
//    manager's focus-stealing prevention may refuse. So, after Qt's own request, the window asks
//    once more with the time the launch carries in its id ("..._TIME<timestamp>", as launchers
//    make them), and the launch is reported complete ("remove: ID=...", freedesktop.org startup
//    notification), which ends the launcher's busy feedback: the start that received the id
//    shows no window, so nobody else would.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>

#include "platform/window_activation.h"

void ActivateForLaunch(QWidget* window, const WindowActivation& launch);

// The launch time an X11 startup id carries ("..._TIME<decimal>"), or 0 when it has none.
uint32_t StartupIdTimestamp(const std::string& startupId);
// The startup-notification message that ends the launch of that id.
std::string StartupCompleteMessage(const std::string& startupId);
