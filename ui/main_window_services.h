// What the main window needs from the process: the drive state, the media watcher, and the
// system services it creates or asks at start-up. The program hands in the real ones; a test
// builds fresh ones and replaces the services it wants to steer.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "drive/command_runner.h"
#include "drive/drive_state.h"
#include "drive/media_watcher.h"
#include "platform/drive_access_mutex.h"
#include "platform/drive_candidates.h"
#include "platform/drive_claim.h"
#include "platform/os_platform.h"
#include "platform/thread.h"
#include "settings/access_messages.h"
#include "ui/diagnostic_report_saver.h"

struct MainWindowServices {
    DriveState& drive;
    MediaWatcher& watcher;
    std::function<std::unique_ptr<DriveAccessMutex>()> createMutex = [] {
        return CreateDriveAccessMutex(kDriveAccessMutexName);
    };
    std::function<int()> osPlatformId = QueryOsPlatformId;
    // The devices discovery tries, in order: the system's, or a demo's simulated ones.
    std::function<std::vector<DriveCandidate>()> listCandidates = ListSystemDriveCandidates;
    // Sleeps the window thread (the wait before the second discovery).
    std::function<void(uint32_t)> sleep = SleepMilliseconds;
    uint32_t commandWaitMs = kCommandWaitMs;  // the bound of each command's wait
    // The words for what the system refuses: the Windows program's own unless the program hands
    // in its platform's (app/system_access_messages.h). Never null.
    const AccessMessages* accessMessages = &ClassicAccessMessages();
    // The lock and claim that keep other writers off the drive during an apply, and the media
    // watcher's read lock: the system's unless a test hands in its own. Never null.
    DriveClaims* claims = &SystemDriveClaims();
    // The diagnostic report the window's menu offers to save; empty: no such item (the Windows
    // window's system menu stays as it is).
    DiagnosticReportMaker diagnosticReport = nullptr;
};
