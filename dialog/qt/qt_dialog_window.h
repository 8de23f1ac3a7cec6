// One dialog of the Qt backend: a QDialog built from a template, and the framework's
// DialogWindow over it. The control model (dialog/control_model.h) keeps what the program sets
// and reads (narrow texts, checks, list items, edit selection), exactly as the in-memory backend
// keeps it; the widgets show it, and what the user does to them goes through the model to the
// dialog's message map as the Win32 notifications would.
//
// Win32 window behaviour that Qt has no notion of is made here: Enter, Esc and F1 as the dialog
// manager treats them, the close button as SC_CLOSE, timers by id, messages posted from other
// threads, the colours of static texts, and the system menu, which Linux desktops do not offer:
// what the dialog appends to it becomes the window's context menu, its first item also Ctrl+I.
//
// What Linux users expect beyond the templates is added: Tab follows the controls as they are
// drawn (the templates' list order is Windows' tab order, and stays so there), the arrow keys
// move through radio groups, and assistive technology hears a name for every control and the
// group box each one is drawn in.
#pragma once

#include <QDialog>
#include <QMenu>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialog/control_model.h"
#include "dialog/dialog.h"
#include "dialog/dialog_backend.h"
#include "dialog/qt/qt_dialog_layout.h"
#include "platform/window_activation.h"

class QtDialogBackend;
class QtRadioGroups;

class QtDialogWindow : public QDialog, public DialogWindow {
public:
    // owner: the owner dialog's window, nullptr for a top-level one.
    QtDialogWindow(QtDialogBackend& backend, CDialog& dialog, const DialogTemplate& source,
                   QWidget* owner);
    ~QtDialogWindow() override;

    CDialog* Dialog() const { return dialog_; }
    bool Ended() const { return ended_; }
    bool Finished() const { return finished_; }
    int Result() const { return result_; }
    QWidget* Control(int id) const;

    // Attaches the dialog and runs its initialisation; gives the focus to the first control
    // with a tab stop when the initialisation asks for it.
    void Initialise();
    // Runs the modal loop until EndDialog; returns at once when the dialog has ended already.
    void RunModalLoop();
    void ShowModeless();
    // After the end: the destroy handler runs and the dialog is detached. Idempotent.
    void Finish();
    // Ends the dialog with the result once no handler of it is running any more: at once when
    // none is, else as the outermost one returns (a handler's message box or nested dialog runs
    // a loop of its own, and the handler goes on after it).
    void EndOnceIdle(int result);
    // The window menu from the items appended to the system menu; empty when there are none.
    // Choosing an item sends its WM_SYSCOMMAND once the menu has closed.
    std::unique_ptr<QMenu> BuildWindowMenu();

    // DialogWindow
    uintptr_t NativeHandle() const override;
    void ForgetDialog() override;
    void EndDialog(int result) override;
    bool Post(const WindowMessage& message) override;
    void EnableControl(int id, bool enable) override;
    void SetCheck(int id, int state) override;
    int GetCheck(int id) const override;
    void SetControlText(int id, const std::string& text) override;
    std::string GetControlText(int id) const override;
    int GetControlTextLength(int id) const override;
    void ComboResetContent(int id) override;
    int ComboInsertString(int id, int index, const std::string& text) override;
    void ComboSetCurSel(int id, int index) override;
    int ComboGetCurSel(int id) const override;
    void EditSetSel(int id, int start, int end) override;
    void EditScrollCaret(int id) override;
    void EditReplaceSel(int id, const std::string& text, bool canUndo) override;
    bool SetTimer(unsigned timerId, unsigned periodMs) override;
    void KillTimer(unsigned timerId) override;
    int ShowMessageBox(const std::string& text, const std::string& title) override;
    bool ChooseFileToSave(const SaveFileRequest& request, ChosenFile* chosen) override;
    bool HasSystemMenu() const override;
    void AppendSystemMenuSeparator() override;
    void AppendSystemMenuItem(unsigned commandId, const std::string& text) override;
    void SetIcon(IconHandle icon, bool large) override;
    bool IsMinimised() const override { return isMinimized(); }
    int ClientWidth() const override { return width(); }
    int ClientHeight() const override { return height(); }
    int SystemIconWidth() const override;
    int SystemIconHeight() const override;
    // Qt draws the window itself and the desktop draws a minimised one from the window icon, so
    // this backend sends no WM_PAINT and nothing calls this.
    void PaintIcon(IconHandle /*icon*/, int /*x*/, int /*y*/) override {}

protected:
    bool event(QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct MenuItem {
        bool separator;
        unsigned commandId;
        std::string text;  // narrow
    };

    void CreateControls();
    QWidget* CreateControl(const ControlTemplate& control);
    // created: the template's controls' widgets, in template order.
    void OrderAndDescribeControls(const std::vector<QWidget*>& created);
    void NameCaptionlessControls();
    void ConnectControl(int id, QWidget* widget);
    bool Deliver(const WindowMessage& message, intptr_t* result = nullptr);
    void LeaveHandler();
    void FinishIfIdle();
    void SendCommand(int id, unsigned code);
    void SendSysCommand(unsigned commandId);
    void OnUserClick(int id);
    void OnShownCheckChanged(int id);
    void OnUserSelect(int id, int index);
    void PressEnter();
    void FirstMenuItem();
    void BringToFront(const WindowActivation& launch);
    ControlColor QueryColor(int id);
    void ShowEditState(int id, const ControlState& state);
    void ShowChecks();
    ControlState* Use(int id);
    const ControlState* Use(int id) const;

    QtDialogBackend& backend_;
    CDialog* dialog_;
    const DialogTemplate& source_;
    const QtDialogLayout layout_;
    ControlModel model_;
    std::map<int, QWidget*> widgets_;  // controls with an id
    QtRadioGroups* radioGroups_;
    std::vector<QWidget*> tabOrder_;  // the controls that take the focus, as drawn
    std::vector<MenuItem> menu_;
    std::map<unsigned, int> timers_;  // the dialog's timer id to Qt's
    int busy_ = 0;                    // nesting depth of messages being handled
    bool endOnceIdleAsked_ = false;
    int endOnceIdleResult_ = -1;
    bool modalLoop_ = false;
    bool ended_ = false;
    bool finished_ = false;
    int result_ = -1;
};
