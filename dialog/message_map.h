// Message maps: a static table per dialog class from a message, or a control's WM_COMMAND
// notification, to a member handler. Each entry carries a small function that casts the dialog
// to the handler's class and unpacks the message for the handler's signature.
//
//   const MessageMap& CMyDlg::GetMessageMap() const {
//       static constexpr MessageMapEntry kEntries[] = {
//           MapClicked<&CMyDlg::OnApply>(IDC_APPLY),
//           MapTimer<&CMyDlg::OnTimer>(),
//       };
//       static const MessageMap kMap{&CDialog::BaseMessageMap(), kEntries,
//       std::size(kEntries)}; return kMap;
//   }
#pragma once

#include <cstddef>
#include <cstdint>

#include "dialog/window_messages.h"

class CDialog;

using MessageThunk = intptr_t (*)(CDialog& dialog, const WindowMessage& message);

struct MessageMapEntry {
    unsigned message;
    unsigned code;  // notification code, WM_COMMAND only
    int id;         // control id, WM_COMMAND only
    MessageThunk thunk;
};

struct MessageMap {
    const MessageMap* base;  // searched after this one; nullptr ends the chain
    const MessageMapEntry* entries;
    size_t count;
};

constexpr bool EntryMatches(const MessageMapEntry& entry, const WindowMessage& message) {
    if (entry.message != message.message) {
        return false;
    }
    if (message.message != kWmCommand) {
        return true;
    }
    return entry.id == CommandId(message.wParam) && entry.code == CommandCode(message.wParam);
}

namespace message_map_detail {

template <class Member>
struct ClassOf;
template <class R, class C, class... Args>
struct ClassOf<R (C::*)(Args...)> {
    using type = C;
};

template <auto handler>
using DialogOf = typename ClassOf<decltype(handler)>::type;

template <auto handler>
intptr_t CallPlain(CDialog& dialog, const WindowMessage&) {
    (static_cast<DialogOf<handler>&>(dialog).*handler)();
    return 0;
}

template <auto handler>
intptr_t CallTimer(CDialog& dialog, const WindowMessage& message) {
    (static_cast<DialogOf<handler>&>(dialog).*handler)(static_cast<unsigned>(message.wParam));
    return 0;
}

template <auto handler>
intptr_t CallSysCommand(CDialog& dialog, const WindowMessage& message) {
    (static_cast<DialogOf<handler>&>(dialog).*handler)(static_cast<unsigned>(message.wParam),
                                                       message.lParam);
    return 0;
}

template <auto handler>
intptr_t CallIconQuery(CDialog& dialog, const WindowMessage&) {
    return static_cast<intptr_t>((static_cast<DialogOf<handler>&>(dialog).*handler)());
}

template <auto handler>
intptr_t CallFlag(CDialog& dialog, const WindowMessage&) {
    return (static_cast<DialogOf<handler>&>(dialog).*handler)() ? 1 : 0;
}

template <auto handler>
intptr_t CallControlColor(CDialog& dialog, const WindowMessage& message) {
    auto* color = reinterpret_cast<ControlColor*>(message.lParam);
    (static_cast<DialogOf<handler>&>(dialog).*handler)(*color);
    return 0;
}

template <auto handler>
intptr_t CallRaw(CDialog& dialog, const WindowMessage& message) {
    return (static_cast<DialogOf<handler>&>(dialog).*handler)(message.wParam, message.lParam);
}

}  // namespace message_map_detail

// void Handler()
template <auto handler>
constexpr MessageMapEntry MapCommand(unsigned code, int id) {
    return {kWmCommand, code, id, &message_map_detail::CallPlain<handler>};
}
template <auto handler>
constexpr MessageMapEntry MapClicked(int id) {
    return MapCommand<handler>(kBnClicked, id);
}
template <auto handler>
constexpr MessageMapEntry MapPaint() {
    return {kWmPaint, 0, 0, &message_map_detail::CallPlain<handler>};
}
template <auto handler>
constexpr MessageMapEntry MapDestroy() {
    return {kWmDestroy, 0, 0, &message_map_detail::CallPlain<handler>};
}
// void Handler(unsigned timerId)
template <auto handler>
constexpr MessageMapEntry MapTimer() {
    return {kWmTimer, 0, 0, &message_map_detail::CallTimer<handler>};
}
// void Handler(unsigned commandId, intptr_t lParam)
template <auto handler>
constexpr MessageMapEntry MapSysCommand() {
    return {kWmSysCommand, 0, 0, &message_map_detail::CallSysCommand<handler>};
}
// IconHandle Handler()
template <auto handler>
constexpr MessageMapEntry MapQueryDragIcon() {
    return {kWmQueryDragIcon, 0, 0, &message_map_detail::CallIconQuery<handler>};
}
// bool Handler(): true when the help request has been dealt with
template <auto handler>
constexpr MessageMapEntry MapHelp() {
    return {kWmHelp, 0, 0, &message_map_detail::CallFlag<handler>};
}
// void Handler(ControlColor&)
template <auto handler>
constexpr MessageMapEntry MapControlColorStatic() {
    return {kWmCtlColorStatic, 0, 0, &message_map_detail::CallControlColor<handler>};
}
// intptr_t Handler(uintptr_t wParam, intptr_t lParam), for private messages
template <auto handler>
constexpr MessageMapEntry MapMessage(unsigned message) {
    return {message, 0, 0, &message_map_detail::CallRaw<handler>};
}
