// The main window on the in-memory backend with simulated drives behind a watching transport, a
// fast media watcher, and the start-up services under the test's control: the platform id, a
// mutex that can fail to be created, and a sleeper that records instead of sleeping.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dialog/memory/memory_dialog_host.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "tests/drive/eventually.h"
#include "tests/ui/watching_transport.h"
#include "ui/base_dlg.h"

constexpr int kSettingControls[] = {IDC_APPLY,      IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING,
                                    IDC_SPEED_ON,   IDC_SPEED_OFF,       IDC_SAVE_SPEED,
                                    IDC_AUDIO_HIGH, IDC_AUDIO_LOW,       IDC_SAVE_AUDIO};
constexpr int kAudioControls[] = {IDC_AUDIO_HIGH, IDC_AUDIO_LOW, IDC_SAVE_AUDIO};

// A simulated drive's settings page F4h read with mode 0 (the watcher's poll) or mode 1.
inline bool IsPageRead(const ReceivedCommand& command, uint8_t mode) {
    return command.cdb[0] == 0x3C && command.cdb[2] == 0xF4 && (command.cdb[1] & 0x1F) == mode;
}
inline int CountPageReads(const SimulatedDrive& drive, uint8_t mode) {
    int count = 0;
    for (const ReceivedCommand& command : drive.Received()) {
        count += IsPageRead(command, mode) ? 1 : 0;
    }
    return count;
}

struct MainWindowRig {
    explicit MainWindowRig(uint16_t language = kLanguageEnglish)
        : host(GeneratedResourceCatalog(), language) {
        services.createMutex = [this]() -> std::unique_ptr<DriveAccessMutex> {
            return mutexFails ? nullptr : CreateDriveAccessMutex(kDriveAccessMutexName);
        };
        services.osPlatformId = [this] { return platformId; };
        services.sleep = [this](uint32_t ms) { sleeps.push_back(ms); };
        services.listCandidates = DriveLetterCandidates;  // the simulated drives sit at letters
    }

    bool Open() {
        dialog = std::make_unique<CBaseDlg>(host, log, services);
        return host.Open(*dialog);
    }
    std::string LogAfterTicks(int ticks) {
        host.TickTimers(ticks);
        return host.Text(IDC_LOG_EDIT);
    }
    bool WatcherReady(int value) {
        return Eventually([&] { return watcher.IsReady() == value; });
    }

    MemoryDialogHost host{GeneratedResourceCatalog()};
    LogRing log{host};
    SimulatedTransport drives;
    WatchingTransport transport{drives};
    DriveState drive{transport};
    MediaWatcher watcher{MediaWatcherTiming{2}};
    int platformId = kOsPlatformNt;
    bool mutexFails = false;
    std::vector<uint32_t> sleeps;
    MainWindowServices services{drive, watcher};
    std::unique_ptr<CBaseDlg> dialog;  // last: ends before everything it uses
};
