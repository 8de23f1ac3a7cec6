// The Win32 window and control style bits that the dialog templates carry and the backends
// without Win32 windows interpret, with their Win32 values.
#pragma once

#include <cstdint>

constexpr uint32_t kWsVisible = 0x10000000u;
constexpr uint32_t kWsDisabled = 0x08000000u;
constexpr uint32_t kWsVScroll = 0x00200000u;
constexpr uint32_t kWsHScroll = 0x00100000u;
constexpr uint32_t kWsSysMenu = 0x00080000u;
constexpr uint32_t kWsGroup = 0x00020000u;  // on a top-level window: WS_MINIMIZEBOX
constexpr uint32_t kWsMinimizeBox = 0x00020000u;
constexpr uint32_t kWsTabStop = 0x00010000u;

constexpr uint32_t kEsMultiline = 0x0004u;
constexpr uint32_t kEsAutoHScroll = 0x0080u;
constexpr uint32_t kEsReadOnly = 0x0800u;

constexpr uint32_t kSsNoPrefix = 0x0080u;

constexpr uint32_t kWsExAppWindow = 0x00040000u;

constexpr bool HasStyle(uint32_t style, uint32_t bits) {
    return (style & bits) == bits;
}
