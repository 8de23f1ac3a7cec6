// A dialog's control reached by its id, kept as a member of the dialog class so that the code
// reads "applyButton_.Enable(false)" rather than repeating ids.
#pragma once

#include <string>

#include "dialog/dialog.h"

class DialogControl {
public:
    DialogControl(CDialog& dialog, int id) : dialog_(dialog), id_(id) {}

    int Id() const { return id_; }
    void Enable(bool enable) { dialog_.EnableControl(id_, enable); }
    void SetCheck(int state) { dialog_.SetCheck(id_, state); }
    int GetCheck() const { return dialog_.GetCheck(id_); }
    void SetText(const std::string& text) { dialog_.SetControlText(id_, text); }
    std::string GetText() const { return dialog_.GetControlText(id_); }
    int GetTextLength() const { return dialog_.GetControlTextLength(id_); }

private:
    CDialog& dialog_;
    int id_;
};
