// A later start's launch reaches the first instance's Qt window: on X11 the window asks the window
// manager for the focus at the launch's time and ends the launch's startup notification, as a
// launcher and a window manager watching the root window see it. (Wayland's token:
// tests/linux/wayland_activation_e2e.sh.)
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDialog>
#include <QGuiApplication>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/qt/qt_window_activation.h"
#include "dialog/window_foreground.h"
#include "platform/single_instance.h"
#include "res/generated_resource_catalog.h"
#include "tests/private_runtime_dir.h"
#include "tests/qt/recording_dialog.h"

namespace {

TEST(WindowActivation, AStartupIdGivesItsLaunchTimeAndTheMessageThatEndsTheLaunch) {
    EXPECT_EQ(StartupIdTimestamp("launcher-7-host-prog-0_TIME4242"), 4242u);
    EXPECT_EQ(StartupIdTimestamp("no-time"), 0u);
    EXPECT_EQ(StartupIdTimestamp("x_TIME12ab"), 0u);
    EXPECT_EQ(StartupIdTimestamp("x_TIME99999999999"), 0u);  // beyond 32 bits
    EXPECT_EQ(StartupCompleteMessage("a\"b\\c d"), "remove: ID=\"a\\\"b\\\\c d\"");
}

// What another client sees on the root window: client messages, the startup ones put together.
class RootWatcher {
public:
    RootWatcher() : connection_(xcb_connect(nullptr, nullptr)) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        std::free(
            xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
        begin_ = Atom("_NET_STARTUP_INFO_BEGIN");
        more_ = Atom("_NET_STARTUP_INFO");
        active_ = Atom("_NET_ACTIVE_WINDOW");
    }
    ~RootWatcher() { xcb_disconnect(connection_); }

    void Poll() {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            if ((event->response_type & 0x7F) == XCB_CLIENT_MESSAGE) {
                Note(*reinterpret_cast<xcb_client_message_event_t*>(event));
            }
            std::free(event);
        }
    }

    std::string startupMessage;
    uint32_t activeWindow = 0;
    uint32_t activeTime = 0;

private:
    xcb_atom_t Atom(const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t atom = reply->atom;
        std::free(reply);
        return atom;
    }
    void Note(const xcb_client_message_event_t& message) {
        if (message.type == begin_ || message.type == more_) {
            if (message.type == begin_) {
                startupMessage.clear();
            }
            const char* data = reinterpret_cast<const char*>(message.data.data8);
            startupMessage.append(data, strnlen(data, 20));
        } else if (message.type == active_ && message.data.data32[1] != 0) {
            activeWindow = message.window;
            activeTime = message.data.data32[1];
        }
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t begin_, more_, active_;
};

TEST(WindowActivation, OnX11TheWindowAsksForTheFocusAtTheLaunchsTimeAndEndsItsLaunch) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        GTEST_SKIP()
            << "needs an X display: ctest runs this under xvfb-run (QtWindowActivationX11)";
    }
    const PrivateRuntimeDir runtime;
    RootWatcher watcher;
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    RecordingDialog dialog(backend);
    ASSERT_TRUE(backend.Open(dialog));
    QDialog* window = backend.WindowWidget(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance("VelmoraActivationTest", &first, {}), InstanceClaim::kFirst);
    const uintptr_t handle = dialog.Window()->NativeHandle();
    first->PublishWindow(handle, [handle](const WindowActivation& launch) {
        RequestForegroundWindow(handle, launch);
    });

    std::unique_ptr<SingleInstanceMapping> second;
    EXPECT_EQ(ClaimSingleInstance("VelmoraActivationTest", &second, {"", "launch-1_TIME4242"}),
              InstanceClaim::kAlreadyRunning);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            watcher.Poll();
            return !watcher.startupMessage.empty() && watcher.activeTime != 0;
        },
        5000));
    EXPECT_EQ(watcher.startupMessage, "remove: ID=\"launch-1_TIME4242\"");
    EXPECT_EQ(watcher.activeTime, 4242u);
    EXPECT_EQ(watcher.activeWindow, static_cast<uint32_t>(window->winId()));
}

}  // namespace
