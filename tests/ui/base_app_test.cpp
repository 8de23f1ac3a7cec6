// The application object: one instance at a time, the main window run modally, the name freed
// at shutdown; and the single-instance object of this platform on its own.
#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "app/base_app.h"
#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"

namespace {

// No drives, and the wait before the second discovery recorded rather than slept.
struct NoDrives {
    NoDrives() {
        services.sleep = [this](uint32_t ms) { sleeps.push_back(ms); };
    }
    SimulatedTransport transport;
    DriveState drive{transport};
    MediaWatcher watcher;
    std::vector<uint32_t> sleeps;
    MainWindowServices services{drive, watcher};
};

std::string UniqueName(const char* what) {
    return std::string("VelmoraDriveUtilityTest-") + what + "-" + std::to_string(getpid());
}

TEST(SingleInstanceName, IsTheKatakanaMakerWordInShiftJisFollowedByDriveUtility) {
    iconv_t converter = iconv_open("UTF-8", "SHIFT_JIS");
    ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
    std::string input(kSingleInstanceName);
    char output[64] = {};
    char* in = input.data();
    char* out = output;
    size_t inLeft = input.size();
    size_t outLeft = sizeof output - 1;
    ASSERT_NE(iconv(converter, &in, &inLeft, &out, &outLeft), static_cast<size_t>(-1));
    iconv_close(converter);
    EXPECT_STREQ(output, "ヴェルモラDriveUtility");
    EXPECT_EQ(std::strlen(kSingleInstanceName), 22u);
}

TEST(SingleInstance, TheSecondClaimLearnsTheFirstExistsUntilItIsReleased) {
    const std::string name = UniqueName("claim");
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first), InstanceClaim::kFirst);
    ASSERT_NE(first, nullptr);

    std::unique_ptr<SingleInstanceMapping> second;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kAlreadyRunning);
    EXPECT_EQ(second, nullptr);

    first.reset();
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second), InstanceClaim::kFirst);
    EXPECT_EQ(ClaimSingleInstance("", &first), InstanceClaim::kFailed);
}

TEST(BaseApp, RunsTheMainWindowAsTheOnlyInstanceAndFreesTheNameAtExit) {
    const std::string name = UniqueName("app");
    MemoryDialogHost host{GeneratedResourceCatalog()};
    bool heldWhileRunning = false;
    host.SetModalDriver([&](MemoryDialogHost& running, CDialog& dialog) {
        EXPECT_EQ(dialog.TemplateId(), IDD_MAIN);
        std::unique_ptr<SingleInstanceMapping> other;
        heldWhileRunning =
            ClaimSingleInstance(name.c_str(), &other) == InstanceClaim::kAlreadyRunning;
        running.TickTimers(1);
        EXPECT_EQ(running.Text(IDC_LOG_EDIT), "Target is not found");
        running.SetFocus(IDC_DRIVE_COMBO);
        running.PressKey(DialogKey::kEnter);  // OK ends it as Cancel would
    });

    NoDrives drives;
    CBaseApp app(host, drives.services, name.c_str());
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(heldWhileRunning);
    EXPECT_EQ(drives.sleeps, std::vector<uint32_t>{3500});
    EXPECT_EQ(host.OpenedTemplates(), std::vector<int>{IDD_MAIN});

    std::unique_ptr<SingleInstanceMapping> after;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &after), InstanceClaim::kFirst);
}

TEST(BaseApp, ASecondInstanceEndsWithoutAWindow) {
    const std::string name = UniqueName("second");
    std::unique_ptr<SingleInstanceMapping> running;
    ASSERT_EQ(ClaimSingleInstance(name.c_str(), &running), InstanceClaim::kFirst);

    MemoryDialogHost host{GeneratedResourceCatalog()};
    NoDrives drives;
    CBaseApp app(host, drives.services, name.c_str());
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.ExitInstance(), 0);
    EXPECT_TRUE(host.OpenedTemplates().empty());
}

}  // namespace
