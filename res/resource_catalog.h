// The dialog templates and string tables as data, for the backends that do not load Win32
// resources (the in-memory backend, later the native Linux one). res/ provides the catalog
// generated at build time from the resource scripts, so every text exists once; whoever creates
// such a backend hands it the catalog.
#pragma once

#include <cstdint>

constexpr uint16_t kLanguageEnglish = 1033;
constexpr uint16_t kLanguageJapanese = 1041;

enum class ControlKind {
    kPushButton,
    kDefaultPushButton,
    kRadioButton,  // automatic radio button
    kCheckBox,     // automatic check box
    kGroupBox,
    kStatic,  // static text (left, centred or right)
    kIcon,    // static icon; text holds the icon resource id in decimal
    kEdit,
    kComboBox,
};

struct ControlTemplate {
    int id;  // -1 for a control without an identifier
    ControlKind kind;
    const char* text;         // UTF-8, "" when none
    int x, y, width, height;  // dialog units
    uint32_t style;           // Win32 window style bits, as the resource compiler builds them
    uint32_t exStyle;
};

struct DialogTemplate {
    int id;
    uint16_t language;
    const char* caption;   // UTF-8
    const char* fontName;  // UTF-8
    int fontPointSize;
    int fontCharset;
    int x, y, width, height;
    uint32_t style;
    uint32_t exStyle;
    const ControlTemplate* controls;  // in template (tab) order
    int controlCount;
};

// Exact language match only: the caller picks the language, as the Win32 resource loader does
// from the user's locale.
class ResourceCatalog {
public:
    virtual ~ResourceCatalog() = default;
    // nullptr when the resource does not exist in that language.
    virtual const DialogTemplate* FindDialog(int dialogId, uint16_t language) const = 0;
    virtual const char* FindString(int stringId, uint16_t language) const = 0;  // UTF-8
};
