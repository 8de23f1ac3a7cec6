#include "res/generator/catalog_writer.h"

#include <cstdio>
#include <set>
#include <utility>

namespace {

constexpr uint32_t kButtonTypeMask = 0xF;   // BS_TYPEMASK
constexpr uint32_t kStaticTypeMask = 0x1F;  // SS_TYPEMASK
constexpr uint32_t kStaticIcon = 0x3;       // SS_ICON
constexpr uint32_t kStaticLeft = 0x0, kStaticCenter = 0x1, kStaticRight = 0x2;

std::string ButtonKind(uint32_t style) {
    switch (style & kButtonTypeMask) {
        case 0x0:
            return "kPushButton";
        case 0x1:
            return "kDefaultPushButton";
        case 0x3:
            return "kCheckBox";
        case 0x7:
            return "kGroupBox";
        case 0x9:
            return "kRadioButton";
        default:
            return "";
    }
}

std::string StaticKind(uint32_t style) {
    uint32_t type = style & kStaticTypeMask;
    if (type == kStaticIcon) {
        return "kIcon";
    }
    if (type == kStaticLeft || type == kStaticCenter || type == kStaticRight) {
        return "kStatic";
    }
    return "";
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    std::string lowered;
    for (char c : a) {
        lowered += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    std::string other;
    for (const char* p = b; *p; ++p) {
        other += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p - 'A' + 'a' : *p);
    }
    return lowered == other;
}

// A C++ string literal holding the same bytes. Everything outside printable ASCII becomes a
// three-digit octal escape, which cannot swallow a following character as a hex escape would.
std::string Literal(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F && c != '?') {
            out += static_cast<char>(c);
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\%03o", c);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string Hex(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08Xu", value);
    return buffer;
}

std::string TableName(const RcDialog& dialog) {
    return "kDialog" + std::to_string(dialog.id) + "Language" + std::to_string(dialog.language);
}

bool WriteControls(const RcDialog& dialog, std::ostream& out, std::string& error) {
    out << "const ControlTemplate " << TableName(dialog) << "Controls[] = {\n";
    for (const RcControl& control : dialog.controls) {
        std::string kind = ControlKindName(control);
        if (kind.empty()) {
            error = "dialog " + std::to_string(dialog.id) + ": control " +
                    std::to_string(control.id) + " of class " + control.windowClass +
                    " has a kind the catalog does not know";
            return false;
        }
        out << "    {" << control.id << ", ControlKind::" << kind << ", " << Literal(control.text)
            << ", " << control.x << ", " << control.y << ", " << control.width << ", "
            << control.height << ", " << Hex(control.style) << ", " << Hex(control.exStyle)
            << "},\n";
    }
    out << "};\n\n";
    return true;
}

void WriteDialogEntry(const RcDialog& dialog, std::ostream& out) {
    out << "    {" << dialog.id << ", " << dialog.language << ", " << Literal(dialog.caption)
        << ", " << Literal(dialog.fontName) << ", " << dialog.fontPointSize << ", "
        << dialog.fontCharset << ", " << dialog.x << ", " << dialog.y << ", " << dialog.width
        << ", " << dialog.height << ", " << Hex(dialog.style) << ", " << Hex(dialog.exStyle) << ", "
        << TableName(dialog) << "Controls, " << dialog.controls.size() << "},\n";
}

bool CheckUnique(const RcScript& script, std::string& error) {
    std::set<std::pair<int, uint16_t>> dialogs, strings;
    for (const RcDialog& dialog : script.dialogs) {
        if (!dialogs.insert({dialog.id, dialog.language}).second) {
            error = "dialog " + std::to_string(dialog.id) + " defined twice";
            return false;
        }
        if (dialog.controls.empty()) {
            error = "dialog " + std::to_string(dialog.id) + " has no controls";
            return false;
        }
    }
    for (const RcString& entry : script.strings) {
        if (!strings.insert({entry.id, entry.language}).second) {
            error = "string " + std::to_string(entry.id) + " defined twice";
            return false;
        }
    }
    return true;
}

}  // namespace

std::string ControlKindName(const RcControl& control) {
    if (EqualsIgnoringCase(control.windowClass, "Button")) {
        return ButtonKind(control.style);
    }
    if (EqualsIgnoringCase(control.windowClass, "Static")) {
        return StaticKind(control.style);
    }
    if (EqualsIgnoringCase(control.windowClass, "Edit")) {
        return "kEdit";
    }
    if (EqualsIgnoringCase(control.windowClass, "ComboBox")) {
        return "kComboBox";
    }
    return "";
}

bool WriteCatalogSource(const RcScript& script, std::ostream& out, std::string& error) {
    if (!CheckUnique(script, error)) {
        return false;
    }
    out << "// Generated from the resource scripts at build time; do not edit.\n"
        << "#include \"res/resource_catalog_data.h\"\n\n"
        << "namespace {\n\n";
    for (const RcDialog& dialog : script.dialogs) {
        if (!WriteControls(dialog, out, error)) {
            return false;
        }
    }
    out << "}  // namespace\n\n"
        << "const DialogTemplate kCatalogDialogs[] = {\n";
    for (const RcDialog& dialog : script.dialogs) {
        WriteDialogEntry(dialog, out);
    }
    out << "};\nconst int kCatalogDialogCount = " << script.dialogs.size() << ";\n\n"
        << "const CatalogString kCatalogStrings[] = {\n";
    for (const RcString& entry : script.strings) {
        out << "    {" << entry.id << ", " << entry.language << ", " << Literal(entry.text)
            << "},\n";
    }
    out << "};\nconst int kCatalogStringCount = " << script.strings.size() << ";\n";
    return true;
}
