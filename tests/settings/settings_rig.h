// A simulated drive opened as the selected drive, the calling protocol around it, and a plain
// front end that holds the user's choices and records status lines and alerts: the settings code
// with no window in the link.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_handle.h"
#include "drive/drive_state.h"
#include "res/resource_ids.h"
#include "settings/settings_context.h"
#include "sim/simulated_transport.h"

struct RecordingFrontEnd : SettingsFrontEnd {
    SettingChoice OptimalSpeedChoice() const override { return speed; }
    SettingChoice AudioModeChoice() const override { return audio; }
    void ChooseFactoryValues(const SupportedSettings& supported) override {
        if (supported.optimalSpeed == 1) {
            speed = SettingChoice{true, 0, 1};
        }
        if (supported.audioMode == 1) {
            audio = SettingChoice{true, 0, 1};
        }
    }
    void ClearShownStatus() override { ++clearedShown; }
    void Alert(int stringId) override { alerts.push_back(stringId); }
    void LogAppend(int stringId) override { ids.push_back(stringId); }
    void LogClear() override { ids.clear(); }
    int OnWriteRefused(int osError) override {
        refusals.push_back(osError);
        return refusalAnswer;
    }

    SettingChoice speed;
    SettingChoice audio;
    std::vector<int> ids;  // status lines queued since the last LogClear
    std::vector<int> alerts;
    int clearedShown = 0;
    int refusalAnswer = kGoOnAsBefore;  // what a refused write gets
    std::vector<int> refusals;          // the error of each refused write asked about
};

class FixedReadiness : public AudioReadiness {
public:
    int IsReady() const override { return ready; }
    int ready = 1;
};

class SettingsRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        ASSERT_NE(OpenDrive(state, "E:"), kNoDevice);
    }
    void TearDown() override { CloseDrive(transport, state.driveHandle); }

    // Settings page bytes of the drive at E.
    void SetPage(std::initializer_list<std::pair<int, uint8_t>> bytes) {
        for (const auto& [index, value] : bytes) {
            drive.SetSettingsByte(index, value);
        }
    }
    void FailSettingsReads() { drive.AddFault(Failing({0x3C, 0xF4, 1}, kSenseInvalidFieldInCdb)); }
    // The reply buffer holds what an earlier command left there; settings reads then come back
    // GOOD with only `bytes` of the page.
    void ShortSettingsReadsOver(std::initializer_list<std::pair<int, uint8_t>> stale,
                                uint32_t bytes) {
        for (const auto& [index, value] : stale) {
            state.buffers.DataInBuffer()[index] = value;
        }
        drive.AddFault(ShortReply({0x3C, 0xF4, 1}, bytes));
    }

    SimulatedTransport transport;
    SimulatedDrive& drive = transport.AddDrive('E');
    DriveState state{transport};
    std::unique_ptr<DriveAccessMutex> mutex = CreateDriveAccessMutex(kDriveAccessMutexName);
    CommandRunner runner{state, *mutex, nullptr};
    RecordingFrontEnd frontEnd;
    RecordingFrontEnd& log = frontEnd;
    SupportedSettings supported;
    ApplyFlags apply;
    FixedReadiness readiness;
    SettingsContext context{state, *mutex, runner, frontEnd, supported, apply, readiness};
};
