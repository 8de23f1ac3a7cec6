// Runs a program on the Qt backend: the application object of Qt, and the dialog backend in the
// user's language (dialog/user_language.h) over the resource catalog.
#pragma once

#include <functional>

#include "dialog/dialog_backend.h"
#include "res/resource_catalog.h"

// programPath: argv[0]. Qt is given nothing else from the command line, so the program takes
// no options at all, not even Qt's own. desktopEntry: the id of the program's desktop entry
// (without ".desktop"), by which the desktop matches the window to its name and icon; nullptr
// for a program that has none. Returns the program's exit code, also when the system asked the
// program to end (SIGTERM, SIGINT, SIGHUP: dialog/qt/qt_program_end_requests.h): its dialogs
// then end once their handlers have returned, and the program returns from here as if closed,
// so that what it holds is released on the way out.
int RunQtProgram(const char* programPath, const char* desktopEntry, const ResourceCatalog& catalog,
                 const std::function<int(DialogBackend& backend)>& program);
