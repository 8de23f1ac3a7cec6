// A simulated drive opened as the selected drive, the calling protocol around it, and the main
// window's template open on the in-memory backend, whose controls the settings code sets.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_handle.h"
#include "drive/drive_state.h"
#include "platform/dialog.h"
#include "platform/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "settings/settings_context.h"
#include "sim/simulated_transport.h"

class RecordingLog : public StatusLog {
public:
    void LogAppend(int stringId) override { ids.push_back(stringId); }
    void LogClear() override { ids.clear(); }
    std::vector<int> ids;
};

class FixedReadiness : public AudioReadiness {
public:
    int IsReady() const override { return ready; }
    int ready = 1;
};

class NoCompletionMessages : public CommandDoneSink {
public:
    void PostCommandDone() override {}
};

class SettingsRig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(AllocateTransferBuffers(state.buffers), 1);
        state.driveHandle = OpenDrive(transport, 'E');
        ASSERT_NE(state.driveHandle, kNoDevice);
        ASSERT_TRUE(host.Open(window));
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
    NoCompletionMessages sink;
    CommandRunner runner{state, *mutex, sink};
    MemoryDialogHost host{GeneratedResourceCatalog()};
    CDialog window{IDD_MAIN, host};
    RecordingLog log;
    SupportedSettings supported;
    ApplyFlags apply;
    FixedReadiness readiness;
    SettingsContext context{state, *mutex, runner, window, log, supported, apply, readiness};
};
