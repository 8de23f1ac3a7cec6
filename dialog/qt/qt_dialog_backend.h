// The Qt 6 Widgets dialog backend of the native Linux program: dialogs are built from the same
// templates and string tables as the Windows resources (the catalog it is given), laid out in
// dialog units through the template font's own metrics, with the program's narrow texts in the
// chosen language's code page converted to Unicode for display. A QApplication must exist
// before the backend is created, and every call is made on its thread.
//
// Besides running dialogs modally, as the program does, it can open one without waiting, and it
// lets a test act as the user in the modal loops it cannot reach otherwise: the loop of a modal
// dialog and that of a message box.
#pragma once

#include <QIcon>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "dialog/catalog_text.h"
#include "dialog/dialog.h"
#include "dialog/dialog_backend.h"
#include "dialog/qt/qt_save_file_dialog.h"
#include "res/resource_catalog.h"

class QDialog;
class QWidget;
class QtDialogWindow;

class QtDialogBackend : public DialogBackend {
public:
    // catalog: the dialog templates and strings; it must outlive the backend.
    QtDialogBackend(const ResourceCatalog& catalog, uint16_t language);
    ~QtDialogBackend() override;
    QtDialogBackend(const QtDialogBackend&) = delete;
    QtDialogBackend& operator=(const QtDialogBackend&) = delete;

    // DialogBackend
    int RunModal(CDialog& dialog) override;
    IconHandle LoadIconResource(int iconId) override;
    std::string ApplicationName() const override;
    std::string LoadText(int stringId) const override { return text_.LoadText(stringId); }
    bool IsLeadByte(unsigned char byte) const override { return text_.IsLeadByte(byte); }

    const CatalogText& Text() const { return text_; }
    // The icon of a handle from LoadIconResource; a null icon for 0 or an unknown handle.
    QIcon IconOf(IconHandle icon) const;

    // Opens the dialog without waiting for it; it ends itself (EndDialog) like a modal one, and
    // is destroyed then. False when its template does not exist.
    bool Open(CDialog& dialog);
    bool IsOpen(const CDialog& dialog) const;
    int ResultOf(const CDialog& dialog) const;  // EndDialog's result once it has closed, else -1
    // The dialog's window and one of its controls; nullptr when not open or no such control.
    QDialog* WindowWidget(const CDialog& dialog) const;
    QWidget* ControlWidget(const CDialog& dialog, int id) const;

    // Runs inside each modal dialog's loop once it is showing, as a user acting on it; a dialog
    // still open when it returns is cancelled.
    using ModalHook = std::function<void(CDialog& dialog)>;
    void SetModalHook(ModalHook hook) { modalHook_ = std::move(hook); }
    // Runs while each message box is open (its own loop keeps the program's timers and posted
    // messages going); the box is then closed with OK. owner: the dialog whose window owns the
    // box (nullptr once forgotten); title and text are narrow.
    using MessageBoxHook = std::function<void(const CDialog* owner, const std::string& title,
                                              const std::string& text)>;
    void SetMessageBoxHook(MessageBoxHook hook) { messageBoxHook_ = std::move(hook); }

    // Runs while each file dialog for saving is open (dialog/qt/qt_save_file_dialog.h).
    void SetSaveFileDialogHook(SaveFileDialogHook hook) { saveFileDialogHook_ = std::move(hook); }

    // The program is to end (the system asked: a log-out, SIGTERM): every open dialog ends with
    // kIdCancel as soon as no handler of it runs any more, so that what a handler is doing (an
    // Apply with its read-backs) goes on to its end first; the menus, message boxes and file
    // dialogs open now are closed as Esc closes them (a message box by its OK button); from now
    // on message boxes and file dialogs are not shown (a box counts as answered with OK, its text
    // goes to the standard error, a file dialog counts as cancelled), and a dialog opened ends as
    // soon as it is initialised.
    void RequestProgramEnd();
    bool ProgramEndRequested() const { return programEndRequested_; }

    // For the windows.
    const MessageBoxHook& MessageBoxHookFunction() const { return messageBoxHook_; }
    const SaveFileDialogHook& SaveFileDialogHookFunction() const { return saveFileDialogHook_; }
    // The window has run its destroy handler; dialog is the one it had (nullptr if forgotten).
    void WindowFinished(QtDialogWindow& window, const CDialog* dialog);

private:
    QtDialogWindow* MakeWindow(CDialog& dialog);
    QtDialogWindow* WindowOf(const CDialog& dialog) const;
    void RunModalHook(QtDialogWindow& window, CDialog& dialog);
    void CloseWhatWaitsForTheUser();

    const CatalogText text_;
    std::vector<QtDialogWindow*> windows_;  // open, topmost last; each deletes itself once closed
    std::vector<std::pair<const CDialog*, int>> results_;
    std::vector<QIcon> icons_;  // handle i + 1
    std::vector<int> iconIds_;
    ModalHook modalHook_;
    MessageBoxHook messageBoxHook_;
    SaveFileDialogHook saveFileDialogHook_;
    bool programEndRequested_ = false;
};
