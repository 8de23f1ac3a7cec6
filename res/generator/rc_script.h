// The part of a resource script that the catalog needs: dialog templates and string tables, as
// the resource compiler would build them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct RcControl {
    int id = 0;
    std::string windowClass;  // as written: "Button", "Static", "Edit", "ComboBox"
    std::string text;         // UTF-8; a numeric text (an icon's resource id) in decimal
    int x = 0, y = 0, width = 0, height = 0;
    uint32_t style = 0;  // with the WS_CHILD | WS_VISIBLE that CONTROL implies
    uint32_t exStyle = 0;
};

struct RcDialog {
    int id = 0;
    uint16_t language = 0;
    std::string caption;
    std::string fontName;
    int fontPointSize = 0;
    int fontCharset = 0;
    int x = 0, y = 0, width = 0, height = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    std::vector<RcControl> controls;  // in script order, which is the tab order
};

struct RcString {
    int id = 0;
    uint16_t language = 0;
    std::string text;  // UTF-8, escapes resolved
};

struct RcScript {
    std::vector<RcDialog> dialogs;
    std::vector<RcString> strings;
};

// Names the scripts may use in expressions: the Win32 constants built in, plus the identifiers
// read from the project's id header.
using RcSymbols = std::map<std::string, long>;

RcSymbols BuiltInRcSymbols();

// Adds every "#define NAME number" (or "(number)") of a header to the symbols. Returns false and
// sets error for a malformed definition or a name defined twice with different values.
bool ReadRcDefines(const std::string& headerText, const std::string& fileName, RcSymbols& symbols,
                   std::string& error);

// Parses one UTF-8 resource script into script (appending). Returns false and sets error to
// "file:line: message" on anything outside the supported subset.
bool ParseRcScript(const std::string& text, const std::string& fileName, const RcSymbols& symbols,
                   RcScript& script, std::string& error);
