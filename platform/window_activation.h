// What a desktop's launcher hands a program it starts, so that the program may take the focus
// for that launch: on Wayland an xdg-activation token (XDG_ACTIVATION_TOKEN), on X11 a
// startup-notification id (DESKTOP_STARTUP_ID). A later start of a single-instance program has
// no window of its own to use them for; it hands them to the first instance, whose window is
// the one to come forward.
#pragma once

#include <string>

struct WindowActivation {
    std::string activationToken;  // XDG_ACTIVATION_TOKEN, empty when none
    std::string startupId;        // DESKTOP_STARTUP_ID, empty when none
};

// The two variables as the environment held them at the first call. A GUI toolkit may take them
// out of the environment as it starts (Qt's xcb plugin removes DESKTOP_STARTUP_ID when it
// connects), so a program calls this once before it creates its toolkit's application object.
const WindowActivation& LaunchActivation();
