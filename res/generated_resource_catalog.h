// The resource catalog generated at build time from the resource scripts (strings.rc,
// dialogs.rc): the same dialogs and strings that the Windows build compiles into the executable.
#pragma once

#include "res/resource_catalog.h"

const ResourceCatalog& GeneratedResourceCatalog();
