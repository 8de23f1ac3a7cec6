#include "app/demo_console.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/demo_program.h"
#include "dialog/memory/memory_dialog_host.h"
#include "drive/media_watcher.h"
#include "res/generated_resource_catalog.h"
#include "res/resource_ids.h"
#include "ui/log_ring.h"

namespace {

constexpr auto kTimerPeriod = std::chrono::milliseconds(2);
constexpr auto kWatcherWaitLimit = std::chrono::seconds(5);
constexpr int kIdClose = 2;

// Lets the window run as it would on screen: the timer ticks in real time until the media
// watcher has polled the drive (its first poll follows the start at once), then long enough
// for every queued status line to reach the log box (one piece per tick).
void LetWindowRun(MemoryDialogHost& host) {
    const auto deadline = std::chrono::steady_clock::now() + kWatcherWaitLimit;
    while (GetMediaWatcher().IsReady() != 1 && std::chrono::steady_clock::now() < deadline) {
        host.TickTimers();
        std::this_thread::sleep_for(kTimerPeriod);
    }
    host.TickTimers(2 * LogRing::kSlotCount);
}

std::string Indented(const std::string& text, const std::string& indent) {
    std::string out = indent;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
        if (text[i] == '\n' && i + 1 < text.size()) {
            out += indent;
        }
    }
    return out + "\n";
}

std::string EnabledNote(const MemoryDialogHost& host, int id) {
    return host.IsEnabled(id) ? "" : "  (disabled)";
}

void PrintDriveList(const MemoryDialogHost& host, std::ostream& out) {
    const std::vector<std::string> items = host.ComboItems(IDC_DRIVE_COMBO);
    const int selected = host.ComboSelection(IDC_DRIVE_COMBO);
    out << "  drive list" << EnabledNote(host, IDC_DRIVE_COMBO) << ":\n";
    for (size_t i = 0; i < items.size(); ++i) {
        out << (static_cast<int>(i) == selected ? "  > " : "    ") << host.ToUtf8(items[i]) << "\n";
    }
}

void PrintChoice(const MemoryDialogHost& host, int id, const char* unchecked, const char* checked,
                 std::ostream& out) {
    out << "  " << (host.GetCheck(id) == 1 ? checked : unchecked) << " " << host.TextUtf8(id)
        << EnabledNote(host, id) << "\n";
}

void PrintWindow(const MemoryDialogHost& host, const std::string& heading, std::ostream& out) {
    out << "== " << heading << "\n";
    PrintDriveList(host, out);
    out << "  log box:\n" << Indented(host.TextUtf8(IDC_LOG_EDIT), "    | ");
    for (int id : {IDC_SPEED_ON, IDC_SPEED_OFF}) {
        PrintChoice(host, id, "( )", "(o)", out);
    }
    PrintChoice(host, IDC_SAVE_SPEED, "[ ]", "[x]", out);
    for (int id : {IDC_AUDIO_HIGH, IDC_AUDIO_LOW}) {
        PrintChoice(host, id, "( )", "(o)", out);
    }
    PrintChoice(host, IDC_SAVE_AUDIO, "[ ]", "[x]", out);
    out << "  description:\n" << Indented(host.TextUtf8(IDC_AUDIO_DESCRIPTION), "    ");
    for (int id : {IDC_APPLY, IDC_RESTORE_DEFAULT, IDC_CHECK_SETTING, kIdClose}) {
        out << "  <" << host.TextUtf8(id) << ">" << EnabledNote(host, id) << "\n";
    }
    out << "\n";
}

void ShowMainWindow(MemoryDialogHost& host, std::ostream& out) {
    LetWindowRun(host);
    PrintWindow(host, "Start-up", out);
    if (host.ComboItems(IDC_DRIVE_COMBO).size() > 1 && host.SelectComboItem(IDC_DRIVE_COMBO, 1)) {
        LetWindowRun(host);
        PrintWindow(host, "The second drive chosen", out);
    }
    if (host.Click(IDC_CHECK_SETTING)) {
        LetWindowRun(host);
        PrintWindow(host, "Check setting pressed", out);
    }
    host.Click(kIdClose);
}

}  // namespace

int RunConsoleDemo(uint16_t language, std::ostream& out, const ReplayedReport* replay) {
    MemoryDialogHost host(GeneratedResourceCatalog(), language);
    host.SetModalDriver([&out](MemoryDialogHost& driven, CDialog& dialog) {
        if (dialog.TemplateId() == IDD_MAIN) {
            ShowMainWindow(driven, out);
        }
    });
    host.SetMessageBoxAnswerer([&out](MemoryDialogHost& shown, const MessageBoxRecord& box) {
        out << "== Message box \"" << shown.ToUtf8(box.title) << "\"\n"
            << Indented(shown.ToUtf8(box.text), "    ") << "\n";
    });
    return replay != nullptr ? RunReplayDemo(host, *replay) : RunDemo(host);
}
