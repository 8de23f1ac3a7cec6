#include "dialog/qt/qt_window_activation.h"

#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr char kActivationTokenVariable[] = "XDG_ACTIVATION_TOKEN";
constexpr uint32_t kSourceApplication = 1;  // _NET_ACTIVE_WINDOW: the request is an application's
constexpr size_t kStartupChunk = 20;        // bytes of a format-8 client message

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    xcb_query_tree_reply_t* tree =
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr);
    const xcb_window_t root = tree != nullptr ? tree->root : xcb_window_t{XCB_WINDOW_NONE};
    std::free(tree);
    return root;
}

void SendToRoot(xcb_connection_t* connection, xcb_window_t root, uint32_t mask,
                const xcb_client_message_event_t& event) {
    xcb_send_event(connection, 0, root, mask, reinterpret_cast<const char*>(&event));
}

// EWMH: asks the window manager to activate the window, as the launch at that time asked.
void RequestActivation(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                       uint32_t timestamp) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = kSourceApplication;
    event.data.data32[1] = timestamp;
    SendToRoot(connection, root,
               XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT, event);
}

// Startup notification: the message with its closing NUL in chunks of 20 bytes, the first of
// type _NET_STARTUP_INFO_BEGIN, the rest _NET_STARTUP_INFO, all naming the same window.
void SendStartupMessage(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window,
                        const std::string& message) {
    const xcb_atom_t begin = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = Atom(connection, "_NET_STARTUP_INFO");
    const size_t length = message.size() + 1;
    for (size_t at = 0; at < length; at += kStartupChunk) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = at == 0 ? begin : more;
        std::memcpy(event.data.data8, message.c_str() + at, std::min(kStartupChunk, length - at));
        SendToRoot(connection, root, XCB_EVENT_MASK_PROPERTY_CHANGE, event);
    }
}

void ActivateForStartupId(QWidget* window, const std::string& startupId) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr || startupId.empty()) {
        return;
    }
    xcb_connection_t* connection = x11->connection();
    const auto xcbWindow = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = RootOf(connection, xcbWindow);
    if (root == XCB_WINDOW_NONE) {
        return;
    }
    if (const uint32_t timestamp = StartupIdTimestamp(startupId); timestamp != 0) {
        RequestActivation(connection, root, xcbWindow, timestamp);
    }
    SendStartupMessage(connection, root, xcbWindow, StartupCompleteMessage(startupId));
    xcb_flush(connection);
}

}  // namespace

void ActivateForLaunch(QWidget* window, const WindowActivation& launch) {
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    if (wayland && !launch.activationToken.empty()) {
        qputenv(kActivationTokenVariable, QByteArray::fromStdString(launch.activationToken));
    }
    window->activateWindow();
    if (wayland) {
        qunsetenv(kActivationTokenVariable);  // a token is good once; Qt unsets it when it used it
    }
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        ActivateForStartupId(window, launch.startupId);
    }
}

uint32_t StartupIdTimestamp(const std::string& startupId) {
    const size_t at = startupId.rfind("_TIME");
    if (at == std::string::npos) {
        return 0;
    }
    const std::string digits = startupId.substr(at + 5);
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string::npos) {
        return 0;
    }
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 10);
    return value <= UINT32_MAX ? static_cast<uint32_t>(value) : 0;
}

std::string StartupCompleteMessage(const std::string& startupId) {
    std::string quoted;
    for (const char c : startupId) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return "remove: ID=\"" + quoted + "\"";
}
