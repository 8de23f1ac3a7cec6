// A long random run of Apply, Restore Factory Default, Check setting, control clicks and drive
// changes on the main window, against simulated drives that fail commands with random sense,
// ignore writes, keep their saved bytes, stall around the wait bound, take discs in and out and
// change their readiness. After every operation: a success line stands only for values the drive
// really holds, and no command reached a drive without the DriveAccessMutex held.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/ui/main_window_rig.h"

#if defined(__SANITIZE_THREAD__)
#define SOAK_UNDER_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define SOAK_UNDER_TSAN 1
#endif
#endif

namespace {

#ifdef SOAK_UNDER_TSAN
constexpr int kOperations = 1500;
#else
constexpr int kOperations = 3000;
#endif
constexpr uint32_t kRandomStart = 20240611;
constexpr uint32_t kWaitBoundMs = 20;
constexpr int kMaxStallMs = 40;

// The drive-access mutex, counting the acquisitions held at any moment by any thread.
class CountingMutex : public DriveAccessMutex {
public:
    CountingMutex(std::unique_ptr<DriveAccessMutex> inner, std::atomic<int>& holds)
        : inner_(std::move(inner)), holds_(holds) {}
    void Lock() override {
        inner_->Lock();
        holds_.fetch_add(1);
    }
    bool LockWithin(uint32_t milliseconds) override {
        const bool held = inner_->LockWithin(milliseconds);
        holds_.fetch_add(held ? 1 : 0);
        return held;
    }
    void Unlock() override {
        holds_.fetch_sub(1);
        inner_->Unlock();
    }

private:
    std::unique_ptr<DriveAccessMutex> inner_;
    std::atomic<int>& holds_;
};

const CommandMatch kFaultTargets[] = {
    CommandMatch(0x51), CommandMatch(0x52),          CommandMatch(0x43),
    CommandMatch(0x00), CommandMatch(0x4A),          CommandMatch(0x1B),
    CommandMatch(0x3B), CommandMatch(0x3C, 0xF4, 1), CommandMatch(0x3C, 0xF4, 0),
};
const SenseTriple kFaultSenses[] = {
    kSenseBecomingReady,     kSenseNoMediumTrayClosed, kSenseNoMediumTrayOpen,
    kSenseInvalidFieldInCdb, {0x04, 0x08, 0x01},       {0x06, 0x28, 0x00},
    {0x02, 0x04, 0x00},      {0x00, 0x00, 0x00},       {0x03, 0x11, 0x00},
};
const int kUserControls[] = {IDC_SPEED_ON,   IDC_SPEED_OFF, IDC_SAVE_SPEED,
                             IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO};

enum class Operation { kApply, kRestore, kCheckSetting, kChangeDrive, kClickControl };

struct SoakRig : MainWindowRig {
    SoakRig() : random(kRandomStart) {
        services.commandWaitMs = kWaitBoundMs;
        services.createMutex = [this]() -> std::unique_ptr<DriveAccessMutex> {
            return std::make_unique<CountingMutex>(CreateDriveAccessMutex(kDriveAccessMutexName),
                                                   holds);
        };
        SimulatedDriveConfig both;
        SimulatedDriveConfig speedOnly;
        speedOnly.supportsAudioMode = false;
        speedOnly.optimalSpeed = 1;
        SimulatedDriveConfig audioOnly;
        audioOnly.supportsOptimalSpeed = false;
        audioOnly.audioMode = 1;
        listed = {&drives.AddDrive('E', both), &drives.AddDrive('F', speedOnly),
                  &drives.AddDrive('G', audioOnly)};
        configs = {both, speedOnly, audioOnly};
    }

    // Discovery runs before any lock exists; every command after it must be under the lock.
    void WatchTheLock() {
        for (SimulatedDrive* each : listed) {
            each->SetObserver([this](const ReceivedCommand&) {
                if (holds.load() == 0) {
                    unlockedCommands.fetch_add(1);
                }
            });
        }
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(random); }

    void InjectFaults() {
        SimulatedDrive& target = *listed[Pick(3)];
        if (Chance(0.3)) {
            target.ClearFaults();
        }
        if (Chance(0.25)) {
            const uint8_t status = Chance(0.9) ? kScsiStatusCheckCondition : 0x08;  // or BUSY
            target.AddFault(
                Failing(kFaultTargets[Pick(9)], kFaultSenses[Pick(9)], status).Times(1 + Pick(3)));
        }
        if (Chance(0.1)) {
            target.SetWritesIgnored(Chance(0.5));
        }
        if (Chance(0.1)) {
            target.SetSavedBytesStuck(Chance(0.5));
        }
        if (Chance(0.15)) {
            static constexpr DiscState kStates[] = {DiscState::kNone, DiscState::kTrayOpen,
                                                    DiscState::kPresent, DiscState::kBecomingReady};
            target.SetDiscState(kStates[Pick(4)]);
        }
        if (Chance(0.15)) {
            target.ForceReadyByte(Pick(3) - 1);
        }
    }

    // Holds every command of the selected drive for a while, around the wait bound, from a moment
    // during the next operation.
    std::thread MaybeStall() {
        if (!Chance(0.05)) {
            return {};
        }
        SimulatedDrive* stalled = listed[Selected()];
        const int startMs = Pick(5);
        const int stallMs = Pick(kMaxStallMs + 1);
        return std::thread([stalled, startMs, stallMs] {
            std::this_thread::sleep_for(std::chrono::milliseconds(startMs));
            stalled->PauseCommands();
            std::this_thread::sleep_for(std::chrono::milliseconds(stallMs));
            stalled->ResumeCommands();
        });
    }

    int Selected() const { return host.ComboSelection(IDC_DRIVE_COMBO); }

    Operation NextOperation() {
        const int roll = Pick(100);
        if (roll < 35) {
            return Operation::kApply;
        }
        if (roll < 50) {
            return Operation::kRestore;
        }
        if (roll < 60) {
            return Operation::kCheckSetting;
        }
        if (roll < 67) {
            return Operation::kChangeDrive;
        }
        return Operation::kClickControl;
    }

    void Perform(Operation operation) {
        switch (operation) {
            case Operation::kApply:
                host.Click(IDC_APPLY);
                break;
            case Operation::kRestore:
                host.Click(IDC_RESTORE_DEFAULT);
                break;
            case Operation::kCheckSetting:
                host.Click(IDC_CHECK_SETTING);
                break;
            case Operation::kChangeDrive:
                host.SelectComboItem(IDC_DRIVE_COMBO, Pick(3));
                break;
            case Operation::kClickControl:
                host.Click(kUserControls[Pick(6)]);
                break;
        }
    }

    // Shows everything queued, as the timer would between user actions.
    std::string DrainLog() {
        host.TickTimers(1);
        for (int tick = 0; tick < 64 && log.LogHasPending() == 1; ++tick) {
            host.TickTimers(1);
        }
        return host.Text(IDC_LOG_EDIT);
    }

    // What the controls ask of each setting the selected drive has, against its page now.
    std::string MismatchWithControls() const {
        const int index = Selected();
        const SimulatedDriveConfig& config = configs[index];
        const auto page = listed[index]->SettingsPage();
        std::string mismatch;
        if (config.supportsOptimalSpeed) {
            const int wanted = host.GetCheck(IDC_SPEED_ON) == 1 ? 1 : 0;
            if (page[19] != wanted || (host.GetCheck(IDC_SAVE_SPEED) == 1 && page[20] != wanted)) {
                mismatch += " speed";
            }
        }
        if (config.supportsAudioMode) {
            const bool low =
                host.GetCheck(IDC_AUDIO_HIGH) != 1 && host.GetCheck(IDC_AUDIO_LOW) == 1;
            const int wanted = low ? 1 : 0;
            if (page[22] != wanted || (host.GetCheck(IDC_SAVE_AUDIO) == 1 && page[23] != wanted)) {
                mismatch += " audio";
            }
        }
        return mismatch;
    }

    std::mt19937 random;
    std::atomic<int> holds{0};
    std::atomic<int> unlockedCommands{0};
    std::vector<SimulatedDrive*> listed;
    std::vector<SimulatedDriveConfig> configs;
};

TEST(ApplySoak, SuccessIsShownOnlyForConfirmedValuesAndEveryCommandIsLocked) {
    SoakRig rig;
    ASSERT_TRUE(rig.Open());
    ASSERT_EQ(rig.host.ComboItems(IDC_DRIVE_COMBO).size(), 3u);
    rig.WatchTheLock();
    rig.host.SetMessageBoxAnswerer([](MemoryDialogHost& host, const MessageBoxRecord&) {
        host.TickTimers(1);  // the pump runs behind the box
    });
    rig.DrainLog();

    int completes = 0;
    int defaults = 0;
    int operations = 0;
    // Every operation runs, however busy the machine: the test's time-out guards against a hang,
    // and no assertion depends on how fast the operations go.
    for (; operations < kOperations; ++operations) {
        rig.InjectFaults();
        const Operation operation = rig.NextOperation();
        const size_t boxesBefore = rig.host.MessageBoxes().size();
        std::thread stall = rig.MaybeStall();
        rig.Perform(operation);
        if (stall.joinable()) {
            stall.join();
        }
        const std::string shown = rig.DrainLog();
        const bool boxShown = rig.host.MessageBoxes().size() != boxesBefore;
        const std::string where = "random start " + std::to_string(kRandomStart) + ", operation " +
                                  std::to_string(operations) + ", drive " +
                                  std::to_string(rig.Selected());

        ASSERT_EQ(rig.unlockedCommands.load(), 0) << where;
        if (operation == Operation::kApply && shown == "complete") {
            ++completes;
            ASSERT_EQ(rig.MismatchWithControls(), "") << where;
            ASSERT_FALSE(boxShown) << where;
        }
        if (operation == Operation::kRestore) {
            ASSERT_NE(shown, "complete") << where;
            if (shown == "default setting") {
                ++defaults;
                ASSERT_EQ(rig.MismatchWithControls(), "") << where;
                ASSERT_FALSE(boxShown) << where;
            }
        }
    }
    std::printf(
        "soak: %d operations (random start %u), %d complete, %d default setting, %zu boxes\n",
        operations, kRandomStart, completes, defaults, rig.host.MessageBoxes().size());
    EXPECT_GT(completes, 0);
    EXPECT_GT(defaults, 0);
    EXPECT_EQ(rig.transport.Violations(), 0);

    rig.host.PressKey(DialogKey::kEscape);  // closes down while faults may still be set
    EXPECT_FALSE(rig.host.IsOpen(*rig.dialog));
    EXPECT_EQ(rig.transport.OpenHandles(), 0);
}

}  // namespace
