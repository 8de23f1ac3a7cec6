// The main window with simulated drives behind a watching transport, on the backend of a window
// driver (tests/ui/window_driver.h); start-up services as the main window rig sets them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "sim/simulated_transport.h"
#include "tests/drive/eventually.h"
#include "tests/ui/watching_transport.h"
#include "tests/ui/window_driver.h"
#include "ui/base_dlg.h"

struct DrivenMainWindowRig {
    DrivenMainWindowRig(const WindowBackendCase& backend, uint16_t language)
        : driver(backend.make(language)), log(driver->Backend()) {
        services.osPlatformId = [] { return kOsPlatformNt; };
        services.sleep = [](uint32_t) {};
        services.listCandidates = DriveLetterCandidates;  // the simulated drives sit at letters
    }

    bool Open() {
        dialog = std::make_unique<CBaseDlg>(driver->Backend(), log, services);
        return driver->Open(*dialog);
    }
    // The log box comes to show exactly this text.
    testing::AssertionResult LogShows(const std::string& text) {
        if (driver->RunUntil([&] { return driver->Text(IDC_LOG_EDIT) == text; })) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure()
               << "the log box shows \"" << driver->Text(IDC_LOG_EDIT) << "\"";
    }

    std::unique_ptr<WindowDriver> driver;
    LogRing log;
    SimulatedTransport drives;
    WatchingTransport transport{drives};
    DriveState drive{transport};
    MediaWatcher watcher{MediaWatcherTiming{2}};
    MainWindowServices services{drive, watcher};
    std::unique_ptr<CBaseDlg> dialog;  // last: ends before everything it uses
};
