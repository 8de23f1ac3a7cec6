// Runs a program on the Qt backend: the application object of Qt, and the dialog backend in the
// user's language (platform/user_language.h) over the resource catalog.
#pragma once

#include <functional>

#include "platform/dialog_backend.h"
#include "platform/resource_catalog.h"

// programPath: argv[0]. Qt is given nothing else from the command line, so the program takes
// no options at all, not even Qt's own. Returns the program's exit code.
int RunQtProgram(const char* programPath, const ResourceCatalog& catalog,
                 const std::function<int(DialogBackend& backend)>& program);
