#include "dialog/qt/qt_edit_control.h"

#include <QScrollBar>
#include <QTextCursor>
#include <algorithm>

#include "dialog/window_styles.h"

QtEditControl::QtEditControl(uint32_t style, QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(HasStyle(style, kEsReadOnly));
    if (isReadOnly()) {
        // A read-only Win32 edit still has a caret and a selection the keyboard moves.
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    setUndoRedoEnabled(false);
    setTabChangesFocus(true);
    // A multi-line edit with automatic horizontal scrolling does not wrap its lines.
    const bool wraps = !HasStyle(style, kEsAutoHScroll);
    setLineWrapMode(wraps ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    setVerticalScrollBarPolicy(HasStyle(style, kWsVScroll) ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(HasStyle(style, kWsHScroll) ? Qt::ScrollBarAlwaysOn
                                                             : Qt::ScrollBarAlwaysOff);
}

void QtEditControl::ShowText(const QString& display) {
    qsizetype common = 0;
    const qsizetype limit = std::min(shown_.size(), display.size());
    while (common < limit && shown_[common] == display[common]) {
        ++common;
    }
    QTextCursor cursor(document());
    cursor.setPosition(static_cast<int>(common));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(display.mid(common));
    shown_ = display;
}

void QtEditControl::PlaceSelection(int anchor, int position) {
    const int end = static_cast<int>(shown_.size());
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::clamp(anchor, 0, end));
    cursor.setPosition(std::clamp(position, 0, end), QTextCursor::KeepAnchor);
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    setTextCursor(cursor);
    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}
