// The controls of one dialog as a backend without native controls keeps them. Built from the
// dialog template (texts in the backend's narrow code page), each control holds its enabled,
// check, text, list and selection state; the model knows the template's order, which makes the
// radio groups (a group starts at a control with WS_GROUP) and the focus order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dialog/catalog_text.h"
#include "res/resource_catalog.h"

struct ControlState {
    int id = -1;
    ControlKind kind = ControlKind::kStatic;
    uint32_t style = 0;
    bool enabled = true;
    int check = 0;
    std::string text;  // narrow
    std::vector<std::string> items;
    int selection = -1;      // combo box; -1 none
    int selectionStart = 0;  // edit selection, byte offsets into text
    int selectionEnd = 0;

    bool IsButton() const;      // push button, radio button or check box
    bool IsPushButton() const;  // plain or default push button
    bool WantsReturn() const;   // a multi-line edit that keeps Enter for itself

    // Replaces the text; the edit selection goes back to the start.
    void SetText(const std::string& newText);
    void ResetItems();
    // Inserts at index, or at the end for -1; returns the position, -1 when index is out of range.
    int InsertItem(int index, const std::string& item);
    // An index out of range clears the selection.
    void SelectItem(int index);
    // An end below 0 or past the text means the end of the text; start is kept inside the text.
    void SetEditSelection(int start, int end);
    // Replaces the selected bytes; the caret then follows the new text.
    void ReplaceEditSelection(const std::string& replacement);
};

class ControlModel {
public:
    ControlModel(const DialogTemplate& source, const CatalogText& text);

    // nullptr for an id the dialog lacks, and always for -1 (controls without an id).
    ControlState* Find(int id);
    const ControlState* Find(int id) const;

    // What a click does to an automatic button: a radio button is checked and the others of
    // its group unchecked; a check box toggles. Other controls do not change.
    void Click(ControlState& button);

    // The first enabled control with WS_TABSTOP, which gets the focus at start; 0 when none.
    int FirstTabStop() const;
    // The enabled default push button, IDOK when there is none.
    int DefaultButtonId() const;

private:
    void CheckRadioInGroup(const ControlState& clicked);

    std::vector<ControlState> controls_;  // in template (tab) order
};
