// The services a dialog backend provides to the framework classes CDialog and CWinApp: running a
// dialog from its template, and the window operations the dialogs use. Kept to what the dialogs
// need, so that a further backend (a native Linux GUI) has little to implement.
#pragma once

#include <cstdint>
#include <string>

#include "dialog/string_table.h"
#include "dialog/window_messages.h"

class CDialog;

// What a file dialog for saving asks: its title and the file types offered ("Reports (*.json)"),
// narrow texts both, and the file name it suggests, placed in the user's home folder.
struct SaveFileRequest {
    std::string title;
    std::string fileTypes;
    std::string suggestedName;
};

// The file the user chose: its path as the file system spells it (for opening it), and the same
// as narrow text (for the messages about it).
struct ChosenFile {
    std::string path;
    std::string shownName;
};

// One open dialog window. Every operation runs on the window thread, except Post.
class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    virtual uintptr_t NativeHandle() const = 0;  // HWND on Win32; an opaque token elsewhere
    // The dialog object is being destroyed while its window is still open (only possible on
    // backends whose windows outlive RunModal, such as the in-memory one).
    virtual void ForgetDialog() {}
    virtual void EndDialog(int result) = 0;

    // Thread-safe: queues the message for the window thread and returns at once.
    virtual bool Post(const WindowMessage& message) = 0;

    // Controls by id; operations on an id that the dialog lacks do nothing.
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetCheck(int id, int state) = 0;
    virtual int GetCheck(int id) const = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    virtual std::string GetControlText(int id) const = 0;
    virtual int GetControlTextLength(int id) const = 0;

    virtual void ComboResetContent(int id) = 0;
    virtual int ComboInsertString(int id, int index, const std::string& text) = 0;  // -1: at end
    virtual void ComboSetCurSel(int id, int index) = 0;
    virtual int ComboGetCurSel(int id) const = 0;

    virtual void EditSetSel(int id, int start, int end) = 0;
    virtual void EditScrollCaret(int id) = 0;
    virtual void EditReplaceSel(int id, const std::string& text, bool canUndo) = 0;

    virtual bool SetTimer(unsigned timerId, unsigned periodMs) = 0;
    virtual void KillTimer(unsigned timerId) = 0;

    // A message box with the OK button only, this window as owner; returns the button id.
    virtual int ShowMessageBox(const std::string& text, const std::string& title) = 0;
    // A modal file dialog for saving, this window as owner; true when the user chose a file,
    // false when the dialog was cancelled or the backend has none.
    virtual bool ChooseFileToSave(const SaveFileRequest& request, ChosenFile* chosen) = 0;

    virtual bool HasSystemMenu() const = 0;
    virtual void AppendSystemMenuSeparator() = 0;
    virtual void AppendSystemMenuItem(unsigned commandId, const std::string& text) = 0;

    virtual void SetIcon(IconHandle icon, bool large) = 0;
    virtual bool IsMinimised() const = 0;
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int SystemIconWidth() const = 0;
    virtual int SystemIconHeight() const = 0;
    // Paints the window: erases the icon background and draws the icon at (x, y).
    virtual void PaintIcon(IconHandle icon, int x, int y) = 0;
};

class DialogBackend : public StringTable {
public:
    // Creates the dialog from its template (owned by dialog.Parent()'s window when there is one),
    // runs it modally and returns the result given to EndDialog; -1 when it cannot be created.
    virtual int RunModal(CDialog& dialog) = 0;
    virtual IconHandle LoadIconResource(int iconId) = 0;
    // The program's name: the executable's file name without its extension.
    virtual std::string ApplicationName() const = 0;
};
