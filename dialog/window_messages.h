// Window messages and notification codes the dialogs handle, with their Win32 values, so that the
// portable dialog code needs no operating-system header. Backends pass these numbers through
// unchanged (Win32) or produce them themselves (in-memory).
#pragma once

#include <cstdint>

constexpr unsigned kWmDestroy = 0x0002;
constexpr unsigned kWmPaint = 0x000F;
constexpr unsigned kWmQueryDragIcon = 0x0037;
constexpr unsigned kWmHelp = 0x0053;
constexpr unsigned kWmInitDialog = 0x0110;
constexpr unsigned kWmCommand = 0x0111;
constexpr unsigned kWmSysCommand = 0x0112;
constexpr unsigned kWmTimer = 0x0113;
constexpr unsigned kWmCtlColorStatic = 0x0138;

// WM_COMMAND notification codes.
constexpr unsigned kBnClicked = 0;
constexpr unsigned kCbnSelChange = 1;

// Command ids of the standard dialog buttons.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// System commands the framework's default handling knows.
constexpr unsigned kScMinimize = 0xF020;
constexpr unsigned kScClose = 0xF060;
constexpr unsigned kScRestore = 0xF120;

// The text colour pure blue, as Win32 RGB(0, 0, 255) packs it.
constexpr uint32_t kColorBlue = 0x00FF0000u;

struct WindowMessage {
    unsigned message;
    uintptr_t wParam;
    intptr_t lParam;
};

// WM_COMMAND carries the control id in the low word of wParam and the notification in the high
// word.
constexpr uintptr_t MakeCommandParam(int id, unsigned code) {
    return (static_cast<uintptr_t>(code & 0xFFFFu) << 16) | (static_cast<uintptr_t>(id) & 0xFFFFu);
}
constexpr int CommandId(uintptr_t wParam) {
    return static_cast<int>(wParam & 0xFFFFu);
}
constexpr unsigned CommandCode(uintptr_t wParam) {
    return static_cast<unsigned>((wParam >> 16) & 0xFFFFu);
}

// What a handler of WM_CTLCOLORSTATIC may change for one control. The backend runs the default
// colour handling first and applies what the handler set.
struct ControlColor {
    int controlId = -1;
    bool setTextColor = false;
    uint32_t textColor = 0;  // 0x00BBGGRR
    bool transparentBackground = false;
};

// An icon loaded by a backend; 0 when none.
using IconHandle = uintptr_t;
