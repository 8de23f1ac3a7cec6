// The part of a dialog that code outside the dialog class may use: its controls by id, its
// string table and its message boxes. The settings code sets the main window's controls through it
// without knowing the window.
#pragma once

#include <string>

class DialogControls {
public:
    virtual ~DialogControls() = default;

    // Operations on an id that the dialog lacks do nothing (GetCheck then gives 0).
    virtual void EnableControl(int id, bool enable) = 0;
    virtual void SetCheck(int id, int state) = 0;
    virtual int GetCheck(int id) const = 0;
    virtual void SetControlText(int id, const std::string& text) = 0;
    // The text of a string id in the user's language; empty when the id does not exist.
    virtual std::string LoadText(int stringId) const = 0;
    // A message box with an OK button only, the dialog as owner and the application's name as
    // title; returns when the user has closed it.
    virtual int ShowMessageBox(const std::string& text) = 0;
};
