// Turns the parsed resource scripts into C++ source: the tables behind
// GeneratedResourceCatalog() (res/generated_resource_catalog.h).
#pragma once

#include <ostream>
#include <string>

#include "res/generator/rc_script.h"

// The ControlKind enumerator for a control ("kPushButton", ...), or "" when its class and
// style make none of the kinds the catalog knows.
std::string ControlKindName(const RcControl& control);

// Writes the catalog source. Returns false and sets error for a control of unknown kind or a
// resource defined twice across the scripts.
bool WriteCatalogSource(const RcScript& script, std::ostream& out, std::string& error);
