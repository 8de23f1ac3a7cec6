// The in-memory dialog backend, for native tests: dialogs are built from the same templates and
// string tables as on Windows (the catalog it is given), with narrow texts in the chosen
// language's code page (dialog/catalog_text.h). Controls hold their enabled, check, text, list
// and selection state (dialog/control_model.h); posted messages wait in a thread-safe queue;
// timers tick when the test says so; message boxes and file dialogs are recorded and answered by
// the test.
//
// A dialog opened by the test with Open() stays open until it ends itself (a click on Close,
// Esc, ...). A dialog that the program runs modally from a handler (DoModal) is handed to the
// modal driver, which acts on it like a user and then returns; a dialog still open afterwards
// is cancelled. User actions and queries address the topmost open dialog.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dialog/catalog_text.h"
#include "dialog/dialog.h"
#include "dialog/dialog_backend.h"
#include "res/resource_catalog.h"

enum class DialogKey { kEscape, kEnter, kF1 };

struct MessageBoxRecord {
    int ownerTemplateId;  // the dialog that owns the box
    std::string title;    // narrow text
    std::string text;     // narrow text
};

struct DispatchOutcome {
    bool handled;  // false: the message went to the default handling
    intptr_t result;
};

struct SystemMenuItem {
    bool separator;
    unsigned commandId;
    std::string text;
};

struct IconPaint {
    IconHandle icon;
    int x;
    int y;
};

class MemoryDialogHost : public DialogBackend {
public:
    // catalog: the dialog templates and strings; it must outlive the host.
    explicit MemoryDialogHost(const ResourceCatalog& catalog, uint16_t language = kLanguageEnglish);
    ~MemoryDialogHost() override;
    MemoryDialogHost(const MemoryDialogHost&) = delete;
    MemoryDialogHost& operator=(const MemoryDialogHost&) = delete;

    // DialogBackend
    int RunModal(CDialog& dialog) override;
    IconHandle LoadIconResource(int iconId) override;
    std::string ApplicationName() const override { return "VelmoraDriveUtility"; }
    std::string LoadText(int stringId) const override { return text_.LoadText(stringId); }
    bool IsLeadByte(unsigned char byte) const override { return text_.IsLeadByte(byte); }

    uint16_t Language() const { return text_.Language(); }
    std::string ToUtf8(const std::string& narrow) const { return text_.ToUtf8(narrow); }
    std::string ToNarrow(const std::string& utf8) const { return text_.ToNarrow(utf8); }

    // Opening dialogs.
    bool Open(CDialog& dialog);  // false when its template does not exist
    bool IsOpen(const CDialog& dialog) const;
    int ResultOf(const CDialog& dialog) const;  // EndDialog's result once closed, else -1
    const std::vector<int>& OpenedTemplates() const { return openedTemplates_; }
    using ModalDriver = std::function<void(MemoryDialogHost& host, CDialog& dialog)>;
    void SetModalDriver(ModalDriver driver) { modalDriver_ = std::move(driver); }

    // Message boxes: every box is recorded; the answerer runs while the box is open (it may tick
    // timers and pump messages, as the box's own message loop would) and the box then returns OK.
    using MessageBoxAnswerer = std::function<void(MemoryDialogHost& host, const MessageBoxRecord&)>;
    void SetMessageBoxAnswerer(MessageBoxAnswerer answerer) { answerer_ = std::move(answerer); }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return messageBoxes_; }

    // File dialogs for saving: every one is recorded; the answerer acts as the user, filling in
    // the file chosen and returning true, or returning false for Cancel. Without one, every
    // dialog is cancelled.
    using SaveFileAnswerer = std::function<bool(const SaveFileRequest&, ChosenFile*)>;
    void SetSaveFileAnswerer(SaveFileAnswerer answerer) { saveFileAnswerer_ = std::move(answerer); }
    const std::vector<SaveFileRequest>& SaveFileRequests() const { return saveFileRequests_; }

    // The user, on the topmost dialog. Click and SelectComboItem return false (and send nothing)
    // when the control is missing, disabled or cannot be clicked.
    bool Click(int id);
    bool SelectComboItem(int id, int index);
    DispatchOutcome PressKey(DialogKey key);
    DispatchOutcome SendSysCommand(unsigned commandId);
    void SetFocus(int id);
    int FocusedControl() const;
    void SetMinimised(bool minimised);
    void SetClientSize(int width, int height);
    DispatchOutcome Paint();
    DispatchOutcome QueryDragIcon();
    ControlColor QueryControlColor(int id);
    DispatchOutcome Send(unsigned message, uintptr_t wParam, intptr_t lParam);

    // Time: each tick first delivers the posted messages, then one WM_TIMER per running timer of
    // every open dialog.
    void TickTimers(int ticks = 1);
    int PumpPostedMessages();  // returns how many were delivered

    // The topmost dialog's state. Texts are narrow; the ...Utf8 forms convert them back.
    bool HasControl(int id) const;
    bool IsEnabled(int id) const;
    int GetCheck(int id) const;
    std::string Text(int id) const;
    std::string TextUtf8(int id) const { return ToUtf8(Text(id)); }
    std::vector<std::string> ComboItems(int id) const;
    int ComboSelection(int id) const;
    std::string Caption() const;
    std::vector<SystemMenuItem> SystemMenu() const;
    IconHandle Icon(bool large) const;
    std::vector<unsigned> RunningTimers() const;
    unsigned TimerPeriod(unsigned timerId) const;  // milliseconds; 0 when not running
    const std::vector<IconPaint>& IconPaints() const;
    int DefaultPaints() const;
    const std::vector<unsigned>& DefaultSysCommands() const { return defaultSysCommands_; }
    // Control operations of the program on ids its dialog does not have: a wrong id in the code.
    int UnknownControlAccesses() const { return unknownControlAccesses_; }

private:
    class Window;
    friend class Window;

    Window* Top() const;
    Window* WindowByToken(uint64_t token) const;
    Window* MakeWindow(CDialog& dialog);
    DispatchOutcome Deliver(Window& window, const WindowMessage& message);
    void DestroyEndedWindows();
    void Destroy(Window& window);
    void Enqueue(uint64_t token, const WindowMessage& message);
    int RecordMessageBox(const Window& owner, const std::string& text, const std::string& title);
    bool RecordSaveFileRequest(const SaveFileRequest& request, ChosenFile* chosen);

    const CatalogText text_;
    std::vector<std::unique_ptr<Window>> windows_;  // open dialogs, topmost last
    uint64_t nextToken_ = 1;
    std::vector<int> openedTemplates_;
    std::vector<std::pair<const CDialog*, int>> results_;
    ModalDriver modalDriver_;
    MessageBoxAnswerer answerer_;
    std::vector<MessageBoxRecord> messageBoxes_;
    SaveFileAnswerer saveFileAnswerer_;
    std::vector<SaveFileRequest> saveFileRequests_;
    std::vector<unsigned> defaultSysCommands_;
    int unknownControlAccesses_ = 0;

    mutable std::mutex queueMutex_;
    std::deque<std::pair<uint64_t, WindowMessage>> queue_;
};
