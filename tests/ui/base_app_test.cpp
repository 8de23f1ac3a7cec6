// The application object: one instance at a time, the main window run modally, the name freed
// at shutdown; and the single-instance object of this platform on its own: a socket in the
// user's own directory, and a later start's activation handed on. (A stale socket file, a holder
// that never accepts and other users in the way: tests/linux/single_instance_e2e.sh.)
#include <gtest/gtest.h>
#include <iconv.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <mutex>
#include <string>

#include "app/base_app.h"
#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "tests/private_runtime_dir.h"

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

bool IsSocket(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode) &&
           status.st_uid == geteuid();
}

class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        const char* previous = std::getenv(name);
        had_ = previous != nullptr;
        previous_ = had_ ? previous : "";
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (had_) {
            setenv(name_, previous_.c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    std::string previous_;
};

TEST(SingleInstance, TheSecondClaimLearnsTheFirstExistsUntilItIsReleased) {
    const PrivateRuntimeDir runtime;
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

TEST(SingleInstance, IsASocketOfTheUsersInTheirRuntimeDirectoryNamedSafelyAndRemovedAtRelease) {
    const PrivateRuntimeDir runtime;
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance(kSingleInstanceName, &first, {}), InstanceClaim::kFirst);
    const std::string path = runtime.Path() + "/%83%94%83F%83%8B%83%82%83%89DriveUtility";
    EXPECT_TRUE(IsSocket(path)) << path;
    first.reset();
    EXPECT_FALSE(IsSocket(path));
}

TEST(SingleInstance, ALaterStartHandsItsLaunchActivationToThePublishedFunction) {
    const PrivateRuntimeDir runtime;
    const std::string name = UniqueName("activation");
    std::unique_ptr<SingleInstanceMapping> first;
    ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first, {}), InstanceClaim::kFirst);
    std::mutex mutex;
    std::vector<WindowActivation> heard;
    first->PublishWindow(1, [&](const WindowActivation& launch) {
        std::lock_guard<std::mutex> lock(mutex);
        heard.push_back(launch);
    });

    std::unique_ptr<SingleInstanceMapping> second;
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second, {"token-1", "launcher-7_TIME42"}),
              InstanceClaim::kAlreadyRunning);
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second, {}), InstanceClaim::kAlreadyRunning);
    // A token that would break its line could pass for another line: it is not sent.
    EXPECT_EQ(ClaimSingleInstance(name.c_str(), &second, {"x\nstartup-id forged", ""}),
              InstanceClaim::kAlreadyRunning);
    std::lock_guard<std::mutex> lock(mutex);
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].activationToken, "token-1");
    EXPECT_EQ(heard[0].startupId, "launcher-7_TIME42");
    EXPECT_EQ(heard[1].activationToken + heard[1].startupId, "");
    EXPECT_EQ(heard[2].activationToken + heard[2].startupId, "");
}

TEST(SingleInstance, ARuntimeDirectoryOthersMayEnterOrALinkToOneIsNotUsed) {
    const PrivateRuntimeDir runtime;
    const std::string name = UniqueName("place");
    const std::string open = runtime.Path() + "/open";
    const std::string linked = runtime.Path() + "/linked";
    ASSERT_EQ(mkdir(open.c_str(), 0755), 0);
    ASSERT_EQ(chmod(open.c_str(), 0755), 0);
    ASSERT_EQ(mkdir(linked.c_str(), 0700), 0);
    ASSERT_EQ(symlink(linked.c_str(), (runtime.Path() + "/link").c_str()), 0);
    const ScopedVariable temporary("TMPDIR", runtime.Path());
    const std::string fallback =
        runtime.Path() + "/velmora-drive-utility-" + std::to_string(geteuid()) + "/" + name;

    for (const std::string& place : {open, runtime.Path() + "/link", std::string("relative")}) {
        const ScopedVariable variable("XDG_RUNTIME_DIR", place);
        std::unique_ptr<SingleInstanceMapping> first;
        ASSERT_EQ(ClaimSingleInstance(name.c_str(), &first, {}), InstanceClaim::kFirst) << place;
        EXPECT_TRUE(IsSocket(fallback)) << place;
        EXPECT_FALSE(IsSocket(open + "/" + name));
        EXPECT_FALSE(IsSocket(linked + "/" + name));
    }
}

TEST(BaseApp, RunsTheMainWindowAsTheOnlyInstanceAndFreesTheNameAtExit) {
    const PrivateRuntimeDir runtime;
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
    const PrivateRuntimeDir runtime;
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
