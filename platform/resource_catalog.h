// The dialog templates and string tables of res/, as data for the backends that do not load
// Win32 resources (the in-memory backend, later the native Linux one). The data is generated at
// build time from the resource scripts, so every text exists once.
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

// nullptr when the resource does not exist in that language.
const DialogTemplate* FindDialogTemplate(int dialogId, uint16_t language);
const char* FindStringResource(int stringId, uint16_t language);  // UTF-8
