// The user and the clock of a dialog test, on whichever backend it runs: the same main-window
// tests act on the in-memory backend and on the Qt one through this, so the two cannot drift
// apart. Texts are narrow, as the program sets them; the Qt driver reads them back from the
// widgets, so they are what the window shows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "dialog/dialog.h"
#include "dialog/dialog_backend.h"
#include "dialog/memory/memory_dialog_host.h"

class WindowDriver {
public:
    virtual ~WindowDriver() = default;

    virtual DialogBackend& Backend() = 0;
    virtual std::string ToUtf8(const std::string& narrow) const = 0;

    // Opens the dialog without waiting for it to end; the other calls act on it.
    virtual bool Open(CDialog& dialog) = 0;
    virtual bool IsOpen() const = 0;

    // The user. Click and SelectComboItem return false, doing nothing, when the control is
    // missing or disabled.
    virtual bool Click(int id) = 0;
    virtual bool SelectComboItem(int id, int index) = 0;
    virtual void PressEscape() = 0;

    virtual std::string Text(int id) const = 0;
    virtual bool IsEnabled(int id) const = 0;
    virtual int GetCheck(int id) const = 0;
    virtual std::vector<std::string> ComboItems(int id) const = 0;
    virtual int ComboSelection(int id) const = 0;

    // Lets the window run, its timer ticking and posted messages arriving, until the condition
    // holds; false when it still does not after a few seconds.
    virtual bool RunUntil(const std::function<bool()>& condition) = 0;

    // Every message box is recorded; the answerer runs while the box is open (it may let the
    // window run behind it), and the box then returns OK.
    virtual void SetMessageBoxAnswerer(std::function<void(const MessageBoxRecord&)> answerer) = 0;
    virtual std::vector<MessageBoxRecord> MessageBoxes() const = 0;
};

struct WindowBackendCase {
    const char* name;
    std::function<std::unique_ptr<WindowDriver>(uint16_t language)> make;
};

// How GoogleTest names the case in its output.
inline void PrintTo(const WindowBackendCase& backend, std::ostream* out) {
    *out << backend.name;
}
