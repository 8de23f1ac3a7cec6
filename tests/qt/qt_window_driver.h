// The window driver over the Qt backend: the user's clicks and keys are sent to the real widgets,
// texts and states are read back from them, and the clock is real time with Qt's events
// processed meanwhile.
#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPoint>
#include <QString>

#include "dialog/qt/qt_dialog_backend.h"
#include "tests/ui/window_driver.h"

class QtWindowDriver : public WindowDriver {
public:
    explicit QtWindowDriver(uint16_t language);

    QtDialogBackend& Qt() { return backend_; }
    QWidget* Widget(int id) const;

    DialogBackend& Backend() override { return backend_; }
    std::string ToUtf8(const std::string& narrow) const override;
    bool Open(CDialog& dialog) override;
    bool IsOpen() const override;
    bool Click(int id) override;
    bool SelectComboItem(int id, int index) override;
    void PressEscape() override;
    std::string Text(int id) const override;
    bool IsEnabled(int id) const override;
    int GetCheck(int id) const override;
    std::vector<std::string> ComboItems(int id) const override;
    int ComboSelection(int id) const override;
    bool RunUntil(const std::function<bool()>& condition) override;
    void SetMessageBoxAnswerer(std::function<void(const MessageBoxRecord&)> answerer) override {
        answerer_ = std::move(answerer);
    }
    std::vector<MessageBoxRecord> MessageBoxes() const override { return boxes_; }

private:
    std::string Narrow(const QString& shown) const;

    QtDialogBackend backend_;
    const CDialog* dialog_ = nullptr;
    std::function<void(const MessageBoxRecord&)> answerer_;
    std::vector<MessageBoxRecord> boxes_;
};

// The caption a user reads on a button, group box or label; empty for any other widget.
QString ShownText(QWidget* widget);

// Where a user clicks a button: on its check box or radio indicator, else in its middle.
QPoint ClickPoint(QAbstractButton* button);
