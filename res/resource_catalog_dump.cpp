// Prints every dialog template and string of the resource catalog, one fact a line:
//   dialog ID LANG style=0x... exstyle=0x... rect=X,Y,W,H font=POINTS,CHARSET,NAME caption=TEXT
//   control ID LANG INDEX id=N class=NAME style=0x... exstyle=0x... rect=X,Y,W,H text=TEXT
//   string ID LANG TEXT
// with CR, LF and backslash written as \r, \n, \\. winauto prints the resources compiled into
// the Windows executable the same way, so the two can be compared line by line.
#include <cstdio>
#include <string>

#include "res/resource_catalog.h"
#include "res/resource_catalog_data.h"

namespace {

std::string Escaped(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\r') {
            out += "\\r";
        } else if (*p == '\n') {
            out += "\\n";
        } else if (*p == '\\') {
            out += "\\\\";
        } else {
            out += *p;
        }
    }
    return out;
}

const char* ClassName(ControlKind kind) {
    switch (kind) {
        case ControlKind::kStatic:
        case ControlKind::kIcon:
            return "Static";
        case ControlKind::kEdit:
            return "Edit";
        case ControlKind::kComboBox:
            return "ComboBox";
        default:
            return "Button";
    }
}

void PrintDialog(const DialogTemplate& dialog) {
    std::printf(
        "dialog %d %u style=0x%08x exstyle=0x%08x rect=%d,%d,%d,%d font=%d,%d,%s caption=%s\n",
        dialog.id, dialog.language, dialog.style, dialog.exStyle, dialog.x, dialog.y, dialog.width,
        dialog.height, dialog.fontPointSize, dialog.fontCharset, dialog.fontName,
        Escaped(dialog.caption).c_str());
    for (int i = 0; i < dialog.controlCount; ++i) {
        const ControlTemplate& control = dialog.controls[i];
        std::printf(
            "control %d %u %d id=%d class=%s style=0x%08x exstyle=0x%08x rect=%d,%d,%d,%d "
            "text=%s\n",
            dialog.id, dialog.language, i, control.id, ClassName(control.kind), control.style,
            control.exStyle, control.x, control.y, control.width, control.height,
            Escaped(control.text).c_str());
    }
}

}  // namespace

int main() {
    for (int i = 0; i < kCatalogDialogCount; ++i) {
        PrintDialog(kCatalogDialogs[i]);
    }
    for (int i = 0; i < kCatalogStringCount; ++i) {
        const CatalogString& entry = kCatalogStrings[i];
        std::printf("string %d %u %s\n", entry.id, entry.language, Escaped(entry.text).c_str());
    }
    return 0;
}
