// A later start of the program asks the first one to bring its window forward; the first does so
// on its GUI thread. A published handle that names no window of a backend is left alone.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDialog>
#include <QTest>
#include <string>

#include "dialog/qt/qt_dialog_backend.h"
#include "dialog/window_foreground.h"
#include "platform/single_instance.h"
#include "res/generated_resource_catalog.h"
#include "tests/private_runtime_dir.h"
#include "tests/qt/recording_dialog.h"

namespace {

std::string UniqueName(const char* what) {
    return std::string("VelmoraDriveUtilityQtTest-") + what + "-" + std::to_string(getpid());
}

TEST(SingleInstanceForeground, ALaterStartRestoresAndRaisesThePublishedWindow) {
    const PrivateRuntimeDir runtime;
    QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
    RecordingDialog dialog(backend);
    ASSERT_TRUE(backend.Open(dialog));
    const std::string name = UniqueName("front");
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first), InstanceClaim::kFirst);
    const uintptr_t handle = dialog.Window()->NativeHandle();
    first->PublishWindow(handle, [handle](const WindowActivation& launch) {
        RequestForegroundWindow(handle, launch);
    });

    QDialog* window = backend.WindowWidget(dialog);
    window->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->isMinimized(); }, 2000));
    std::unique_ptr<SingleInstanceMapping> second;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kAlreadyRunning);
    EXPECT_EQ(second, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->isMinimized(); }, 2000));
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
}

TEST(SingleInstanceForeground, AHandleThatNamesNoWindowIsIgnored) {
    const PrivateRuntimeDir runtime;
    const std::string name = UniqueName("stale");
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first), InstanceClaim::kFirst);
    {
        QtDialogBackend backend(GeneratedResourceCatalog(), kLanguageEnglish);
        RecordingDialog dialog(backend);
        ASSERT_TRUE(backend.Open(dialog));
        const uintptr_t handle = dialog.Window()->NativeHandle();
        first->PublishWindow(handle, [handle](const WindowActivation& launch) {
            RequestForegroundWindow(handle, launch);
        });
    }  // the window is gone, its handle still published
    std::unique_ptr<SingleInstanceMapping> second;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kAlreadyRunning);
    first->PublishWindow(0x1234);  // a token of another backend
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kAlreadyRunning);
    QTest::qWait(10);
    first.reset();
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kFirst);
}

}  // namespace
