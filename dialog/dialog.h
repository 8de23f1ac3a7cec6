// CDialog: a modal dialog made from a dialog template, with a message map and access to its
// controls by id. A backend creates the window and feeds its messages to Dispatch.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "dialog/dialog_backend.h"
#include "dialog/dialog_controls.h"
#include "dialog/message_map.h"
#include "dialog/window_messages.h"

class CDialog : public DialogControls {
public:
    CDialog(int templateId, DialogBackend& backend, CDialog* parent = nullptr);
    ~CDialog() override;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the window, runs it until EndDialog and returns the result (-1: not created).
    int DoModal();

    int TemplateId() const { return templateId_; }
    DialogBackend& Backend() const { return backend_; }
    CDialog* Parent() const { return parent_; }
    DialogWindow* Window() const { return window_; }

    // Thread-safe: queues a message for this dialog's window; false when it has no window.
    bool PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam);
    void EndDialog(int result);

    // Called once the window exists, before OnInitDialog (the application publishes its main
    // window through it).
    void SetWindowCreatedHook(std::function<void(CDialog&)> hook);

    // For backends. AttachWindow(nullptr) detaches; PostToWindow is refused from then on.
    void AttachWindow(DialogWindow* window);
    // Finds the handler in the message map chain and runs it; false when the message is left to
    // the backend's default handling (no entry, or the handler called Default()).
    bool Dispatch(const WindowMessage& message, intptr_t* result);
    // The initialisation hook; true lets the backend give the focus to the first control.
    virtual bool OnInitDialog();

    static const MessageMap& BaseMessageMap();

    // DialogControls
    void EnableControl(int id, bool enable) override;
    void SetCheck(int id, int state) override;
    int GetCheck(int id) const override;
    void SetControlText(int id, const std::string& text) override;
    std::string LoadText(int stringId) const override { return backend_.LoadText(stringId); }
    int ShowMessageBox(const std::string& text) override;

protected:
    virtual const MessageMap& GetMessageMap() const;
    virtual void OnOK();
    virtual void OnCancel();
    // From inside a handler: let the backend's default handling run for this message as well.
    void Default() { defaultRequested_ = true; }

    std::string GetControlText(int id) const;
    int GetControlTextLength(int id) const;
    void ComboResetContent(int id);
    int ComboInsertString(int id, int index, const std::string& text);
    void ComboSetCurSel(int id, int index);
    int ComboGetCurSel(int id) const;
    void EditSetSel(int id, int start, int end);
    void EditScrollCaret(int id);
    void EditReplaceSel(int id, const std::string& text, bool canUndo);
    bool SetTimer(unsigned timerId, unsigned periodMs);
    void KillTimer(unsigned timerId);
    bool HasSystemMenu() const;
    void AppendSystemMenuSeparator();
    void AppendSystemMenuItem(unsigned commandId, const std::string& text);
    void SetIcon(IconHandle icon, bool large);
    bool IsMinimised() const;

    friend class DialogControl;

private:
    // Runs the window operation when the dialog has a window; without one, operations do nothing
    // and queries give the fallback.
    template <class Result, class Operation>
    Result WithWindow(Result fallback, Operation operation) const {
        return window_ != nullptr ? operation(*window_) : fallback;
    }
    template <class Operation>
    void WithWindow(Operation operation) const {
        if (window_ != nullptr) {
            operation(*window_);
        }
    }

    const int templateId_;
    DialogBackend& backend_;
    CDialog* const parent_;
    DialogWindow* window_ = nullptr;
    std::mutex postMutex_;  // orders PostToWindow on other threads against detaching the window
    bool defaultRequested_ = false;
    std::function<void(CDialog&)> windowCreatedHook_;
};
