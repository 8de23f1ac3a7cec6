// The edit control as Qt shows it: a plain-text view whose text and caret the window sets from
// its control model (dialog/control_model.h), which keeps the narrow text and the selection in
// the byte offsets the program uses. A new text replaces only what changed, so appending to a
// long log neither redraws nor scrolls what is already there.
#pragma once

#include <QPlainTextEdit>
#include <cstdint>

class QtEditControl : public QPlainTextEdit {
public:
    QtEditControl(uint32_t style, QWidget* parent);

    void ShowText(const QString& display);
    // Selects from anchor to position of the shown text (the caret at position), without
    // scrolling: EM_SETSEL leaves the view alone, EM_SCROLLCARET moves it.
    void PlaceSelection(int anchor, int position);
    void ScrollToCaret() { ensureCursorVisible(); }

private:
    QString shown_;
};
