// The Win32 constants our resource scripts use, with the values of the Windows headers. Kept
// here rather than read from the mingw headers so the native build needs no Windows SDK.
#include <cstdlib>
#include <sstream>

#include "res/generator/rc_script.h"

RcSymbols BuiltInRcSymbols() {
    return RcSymbols{
        // Window styles.
        {"WS_POPUP", 0x80000000L},
        {"WS_CHILD", 0x40000000L},
        {"WS_VISIBLE", 0x10000000L},
        {"WS_DISABLED", 0x08000000L},
        {"WS_CAPTION", 0x00C00000L},
        {"WS_BORDER", 0x00800000L},
        {"WS_VSCROLL", 0x00200000L},
        {"WS_HSCROLL", 0x00100000L},
        {"WS_SYSMENU", 0x00080000L},
        {"WS_GROUP", 0x00020000L},
        {"WS_TABSTOP", 0x00010000L},
        {"WS_EX_APPWINDOW", 0x00040000L},
        // Dialog styles.
        {"DS_SETFONT", 0x40L},
        {"DS_MODALFRAME", 0x80L},
        // Buttons.
        {"BS_PUSHBUTTON", 0x0L},
        {"BS_DEFPUSHBUTTON", 0x1L},
        {"BS_AUTOCHECKBOX", 0x3L},
        {"BS_GROUPBOX", 0x7L},
        {"BS_AUTORADIOBUTTON", 0x9L},
        // Statics.
        {"SS_LEFT", 0x0L},
        {"SS_CENTER", 0x1L},
        {"SS_RIGHT", 0x2L},
        {"SS_ICON", 0x3L},
        {"SS_NOPREFIX", 0x80L},
        // Edits.
        {"ES_LEFT", 0x0L},
        {"ES_MULTILINE", 0x4L},
        {"ES_AUTOVSCROLL", 0x40L},
        {"ES_AUTOHSCROLL", 0x80L},
        {"ES_READONLY", 0x800L},
        {"ES_WANTRETURN", 0x1000L},
        // Combo boxes.
        {"CBS_DROPDOWNLIST", 0x3L},
        {"CBS_SORT", 0x100L},
        // Languages.
        {"LANG_NEUTRAL", 0x00L},
        {"LANG_ENGLISH", 0x09L},
        {"LANG_JAPANESE", 0x11L},
        {"SUBLANG_NEUTRAL", 0x00L},
        {"SUBLANG_DEFAULT", 0x01L},
        {"SUBLANG_ENGLISH_US", 0x01L},
        // Dialog command ids.
        {"IDOK", 1L},
        {"IDCANCEL", 2L},
        {"IDC_STATIC", -1L},
    };
}

namespace {

bool ParseDefineValue(std::string value, long& out) {
    while (!value.empty() && (value.front() == '(' || value.front() == ' ')) {
        value.erase(value.begin());
    }
    while (!value.empty() && (value.back() == ')' || value.back() == ' ')) {
        value.pop_back();
    }
    if (value.empty()) {
        return false;
    }
    char* end = nullptr;
    out = std::strtol(value.c_str(), &end, 0);
    return *end == '\0';
}

}  // namespace

bool ReadRcDefines(const std::string& headerText, const std::string& fileName, RcSymbols& symbols,
                   std::string& error) {
    std::istringstream lines(headerText);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        std::istringstream words(line);
        std::string directive, name, value;
        words >> directive >> name;
        if (directive != "#define" || name.empty()) {
            continue;
        }
        std::getline(words, value);
        long parsed = 0;
        if (value.find_first_not_of(" \t") == std::string::npos) {
            continue;  // an include guard such as "#define RES_RESOURCE_IDS_H"
        }
        if (!ParseDefineValue(value, parsed)) {
            error = fileName + ":" + std::to_string(number) + ": not a number: " + name;
            return false;
        }
        auto known = symbols.find(name);
        if (known != symbols.end() && known->second != parsed) {
            error = fileName + ":" + std::to_string(number) + ": " + name + " redefined";
            return false;
        }
        symbols[name] = parsed;
    }
    return true;
}
