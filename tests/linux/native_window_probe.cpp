// The native program without a GUI, for end-to-end checks: the real program (system pass-through,
// drives listed from sysfs, the Linux words) with its main window on the in-memory backend, driven
// by the actions given as arguments and printed as text. Under the SG_IO preload library, with
// SIM_ROOT and SIM_DRIVE_DIR set (tests/e2e/lib/native_env.sh), it reaches simulated drives
// through the real SgIoTransport.
//
//   native_window_probe [--instance NAME] [ACTION]...
//   --instance NAME: the single-instance name to claim (default: one of the probe's own, so that
//           probes run beside each other and beside the program); a later start with the same
//           name prints nothing and ends, as the program's second start does
//   ACTION: select:N | speed-on | speed-off | save-speed | audio-low | audio-high | apply | check
//           | exec:SHELL-COMMAND (run between two actions, e.g. to change a node's set-up)
//
// After start-up and after each action it prints a block:
//   == start-up | == ACTION | == ACTION (not done: the control is missing or disabled)
//   list: TEXT            each listed drive, "list> " for the selected one
//   box: TEXT             each message box shown since the block before (answered OK)
//   log: TEXT             the log box, line breaks shown as " / "
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/drive_utility_program.h"
#include "dialog/memory/memory_dialog_host.h"
#include "drive/media_watcher.h"
#include "platform/system_scsi_transport.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "ui/log_ring.h"

namespace {

constexpr int kIdClose = 2;
constexpr auto kTick = std::chrono::milliseconds(2);
constexpr auto kWatcherWaitLimit = std::chrono::seconds(3);

const std::map<std::string, int> kClicks = {
    {"speed-on", IDC_SPEED_ON},   {"speed-off", IDC_SPEED_OFF},   {"save-speed", IDC_SAVE_SPEED},
    {"audio-low", IDC_AUDIO_LOW}, {"audio-high", IDC_AUDIO_HIGH}, {"apply", IDC_APPLY},
    {"check", IDC_CHECK_SETTING},
};

std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            line += " / ";
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

class Probe {
public:
    Probe(MemoryDialogHost& host, std::ostream& out) : host_(host), out_(out) {}

    void Run(const std::vector<std::string>& actions) {
        LetWindowRun();
        Print("start-up", true);
        for (const std::string& action : actions) {
            const bool done = Perform(action);
            LetWindowRun();
            Print(action, done);
        }
        host_.Click(kIdClose);
    }

    void NoteBox(const std::string& text) { boxes_.push_back(text); }

private:
    bool Perform(const std::string& action) {
        if (action.compare(0, 7, "select:") == 0) {
            return host_.SelectComboItem(IDC_DRIVE_COMBO, std::atoi(action.c_str() + 7));
        }
        if (action.compare(0, 5, "exec:") == 0) {
            return std::system(action.c_str() + 5) == 0;
        }
        const auto click = kClicks.find(action);
        return click != kClicks.end() && host_.Click(click->second);
    }

    // As on screen: the timer ticks in real time until the media watcher of a listed drive has
    // polled it, then until every queued status line has reached the log box.
    void LetWindowRun() {
        const auto deadline = std::chrono::steady_clock::now() + kWatcherWaitLimit;
        const bool listed = !host_.ComboItems(IDC_DRIVE_COMBO).empty();
        while (listed && GetMediaWatcher().IsReady() != 1 &&
               std::chrono::steady_clock::now() < deadline) {
            host_.TickTimers();
            std::this_thread::sleep_for(kTick);
        }
        host_.TickTimers(2 * LogRing::kSlotCount);
    }

    void Print(const std::string& heading, bool done) {
        out_ << "== " << heading << (done ? "" : " (not done)") << "\n";
        const std::vector<std::string> items = host_.ComboItems(IDC_DRIVE_COMBO);
        for (size_t i = 0; i < items.size(); ++i) {
            const bool selected = static_cast<int>(i) == host_.ComboSelection(IDC_DRIVE_COMBO);
            out_ << (selected ? "list> " : "list: ") << host_.ToUtf8(items[i]) << "\n";
        }
        for (const std::string& box : boxes_) {
            out_ << "box: " << OneLine(host_.ToUtf8(box)) << "\n";
        }
        boxes_.clear();
        out_ << "log: " << OneLine(host_.TextUtf8(IDC_LOG_EDIT)) << "\n" << std::flush;
    }

    MemoryDialogHost& host_;
    std::ostream& out_;
    std::vector<std::string> boxes_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> actions(argv + 1, argv + argc);
    std::string instanceName = "VelmoraNativeProbe." + std::to_string(getpid());
    if (actions.size() >= 2 && actions[0] == "--instance") {
        instanceName = actions[1];
        actions.erase(actions.begin(), actions.begin() + 2);
    }
    MemoryDialogHost host(GeneratedResourceCatalog(), kLanguageEnglish);
    Probe probe(host, std::cout);
    host.SetModalDriver([&](MemoryDialogHost&, CDialog& dialog) {
        if (dialog.TemplateId() == IDD_MAIN) {
            probe.Run(actions);
        }
    });
    host.SetMessageBoxAnswerer(
        [&](MemoryDialogHost&, const MessageBoxRecord& box) { probe.NoteBox(box.text); });
    ProgramIdentity identity;
    identity.instanceName = instanceName.c_str();
    std::unique_ptr<ScsiTransport> transport = CreateSystemScsiTransport();
    return RunDriveUtility(host, *transport, identity);
}
