#include "dialog/memory/memory_dialog_host.h"

#include <algorithm>
#include <map>

#include "dialog/control_model.h"

namespace {

constexpr IconHandle kIconTokenBase = 0x10000;
constexpr int kSystemIconSize = 32;

}  // namespace

class MemoryDialogHost::Window : public DialogWindow {
public:
    Window(MemoryDialogHost& host, CDialog& dialog, const DialogTemplate& source, uint64_t token)
        : controls(source, host.text_),
          host_(host),
          dialog_(&dialog),
          token_(token),
          caption_(host.ToNarrow(source.caption)),
          clientWidth_(source.width * 3 / 2),
          clientHeight_(source.height * 3 / 2) {}

    CDialog* dialog() const { return dialog_; }
    uint64_t token() const { return token_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }
    ControlModel controls;
    int busy = 0;  // nesting depth of messages being handled
    int focus = 0;
    bool minimised = false;
    std::vector<IconPaint> iconPaints;
    int defaultPaints = 0;

    const std::string& caption() const { return caption_; }
    const std::vector<SystemMenuItem>& systemMenu() const { return systemMenu_; }
    IconHandle icon(bool large) const { return large ? largeIcon_ : smallIcon_; }
    std::vector<unsigned> timers() const {
        std::vector<unsigned> ids;
        for (const auto& timer : timers_) {
            ids.push_back(timer.first);
        }
        return ids;
    }
    unsigned timerPeriod(unsigned timerId) const {
        const auto found = timers_.find(timerId);
        return found != timers_.end() ? found->second : 0;
    }
    void SetClientSize(int width, int height) {
        clientWidth_ = width;
        clientHeight_ = height;
    }

    // A control the program addresses; counts the access when the id is not in the dialog.
    ControlState* Use(int id) {
        ControlState* control = controls.Find(id);
        if (control == nullptr) {
            ++host_.unknownControlAccesses_;
        }
        return control;
    }
    const ControlState* Use(int id) const { return const_cast<Window*>(this)->Use(id); }

    // DialogWindow
    uintptr_t NativeHandle() const override { return static_cast<uintptr_t>(token_); }
    void ForgetDialog() override { dialog_ = nullptr; }
    void EndDialog(int result) override {
        ended_ = true;
        result_ = result;
    }
    bool Post(const WindowMessage& message) override {
        host_.Enqueue(token_, message);
        return true;
    }
    void EnableControl(int id, bool enable) override {
        if (ControlState* control = Use(id)) {
            control->enabled = enable;
        }
    }
    void SetCheck(int id, int state) override {
        if (ControlState* control = Use(id)) {
            control->check = state;
        }
    }
    int GetCheck(int id) const override {
        const ControlState* control = Use(id);
        return control != nullptr && control->IsButton() ? control->check : 0;
    }
    void SetControlText(int id, const std::string& text) override {
        if (ControlState* control = Use(id)) {
            control->SetText(text);
        }
    }
    std::string GetControlText(int id) const override {
        const ControlState* control = Use(id);
        return control != nullptr ? control->text : std::string();
    }
    int GetControlTextLength(int id) const override {
        const ControlState* control = Use(id);
        return control != nullptr ? static_cast<int>(control->text.size()) : 0;
    }
    void ComboResetContent(int id) override {
        if (ControlState* control = Use(id)) {
            control->ResetItems();
        }
    }
    int ComboInsertString(int id, int index, const std::string& text) override {
        ControlState* control = Use(id);
        return control != nullptr ? control->InsertItem(index, text) : -1;
    }
    void ComboSetCurSel(int id, int index) override {
        if (ControlState* control = Use(id)) {
            control->SelectItem(index);
        }
    }
    int ComboGetCurSel(int id) const override {
        const ControlState* control = Use(id);
        return control != nullptr ? control->selection : -1;
    }
    void EditSetSel(int id, int start, int end) override {
        if (ControlState* control = Use(id)) {
            control->SetEditSelection(start, end);
        }
    }
    void EditScrollCaret(int id) override { Use(id); }
    void EditReplaceSel(int id, const std::string& text, bool /*canUndo*/) override {
        if (ControlState* control = Use(id)) {
            control->ReplaceEditSelection(text);
        }
    }
    bool SetTimer(unsigned timerId, unsigned periodMs) override {
        timers_[timerId] = periodMs;
        return true;
    }
    void KillTimer(unsigned timerId) override { timers_.erase(timerId); }
    int ShowMessageBox(const std::string& text, const std::string& title) override {
        return host_.RecordMessageBox(*this, text, title);
    }
    bool ChooseFileToSave(const SaveFileRequest& request, ChosenFile* chosen) override {
        return host_.RecordSaveFileRequest(request, chosen);
    }
    bool HasSystemMenu() const override { return true; }
    void AppendSystemMenuSeparator() override { systemMenu_.push_back({true, 0, ""}); }
    void AppendSystemMenuItem(unsigned commandId, const std::string& text) override {
        systemMenu_.push_back({false, commandId, text});
    }
    void SetIcon(IconHandle icon, bool large) override { (large ? largeIcon_ : smallIcon_) = icon; }
    bool IsMinimised() const override { return minimised; }
    int ClientWidth() const override { return clientWidth_; }
    int ClientHeight() const override { return clientHeight_; }
    int SystemIconWidth() const override { return kSystemIconSize; }
    int SystemIconHeight() const override { return kSystemIconSize; }
    void PaintIcon(IconHandle icon, int x, int y) override { iconPaints.push_back({icon, x, y}); }

private:
    MemoryDialogHost& host_;
    CDialog* dialog_;
    const uint64_t token_;
    std::string caption_;
    std::map<unsigned, unsigned> timers_;
    std::vector<SystemMenuItem> systemMenu_;
    IconHandle largeIcon_ = 0;
    IconHandle smallIcon_ = 0;
    int clientWidth_;
    int clientHeight_;
    bool ended_ = false;
    int result_ = -1;
};

MemoryDialogHost::MemoryDialogHost(const ResourceCatalog& catalog, uint16_t language)
    : text_(catalog, language) {}

MemoryDialogHost::~MemoryDialogHost() {
    while (!windows_.empty()) {
        windows_.back()->EndDialog(kIdCancel);
        Destroy(*windows_.back());
    }
}

IconHandle MemoryDialogHost::LoadIconResource(int iconId) {
    return iconId > 0 ? kIconTokenBase + static_cast<IconHandle>(iconId) : 0;
}

MemoryDialogHost::Window* MemoryDialogHost::Top() const {
    return windows_.empty() ? nullptr : windows_.back().get();
}

MemoryDialogHost::Window* MemoryDialogHost::WindowByToken(uint64_t token) const {
    for (const auto& window : windows_) {
        if (window->token() == token) {
            return window.get();
        }
    }
    return nullptr;
}

MemoryDialogHost::Window* MemoryDialogHost::MakeWindow(CDialog& dialog) {
    const DialogTemplate* source = text_.FindDialog(dialog.TemplateId());
    if (source == nullptr) {
        return nullptr;
    }
    openedTemplates_.push_back(dialog.TemplateId());
    windows_.push_back(std::make_unique<Window>(*this, dialog, *source, nextToken_++));
    Window* window = windows_.back().get();
    dialog.AttachWindow(window);
    ++window->busy;
    const bool focusFirst = dialog.OnInitDialog();
    --window->busy;
    if (focusFirst) {
        window->focus = window->controls.FirstTabStop();
    }
    return window;
}

bool MemoryDialogHost::Open(CDialog& dialog) {
    const bool created = MakeWindow(dialog) != nullptr;
    DestroyEndedWindows();
    return created;
}

int MemoryDialogHost::RunModal(CDialog& dialog) {
    Window* window = MakeWindow(dialog);
    if (window == nullptr) {
        return -1;
    }
    const uint64_t token = window->token();
    if (!window->ended()) {
        if (modalDriver_) {
            modalDriver_(*this, dialog);
        } else {
            PressKey(DialogKey::kEscape);
        }
    }
    window = WindowByToken(token);
    if (window != nullptr) {
        if (!window->ended()) {
            window->EndDialog(kIdCancel);
        }
        Destroy(*window);
    }
    return ResultOf(dialog);
}

bool MemoryDialogHost::IsOpen(const CDialog& dialog) const {
    for (const auto& window : windows_) {
        if (window->dialog() == &dialog) {
            return true;
        }
    }
    return false;
}

int MemoryDialogHost::ResultOf(const CDialog& dialog) const {
    for (auto it = results_.rbegin(); it != results_.rend(); ++it) {
        if (it->first == &dialog) {
            return it->second;
        }
    }
    return -1;
}

DispatchOutcome MemoryDialogHost::Deliver(Window& window, const WindowMessage& message) {
    DispatchOutcome outcome{false, 0};
    if (window.dialog() == nullptr) {
        return outcome;
    }
    const uint64_t token = window.token();
    ++window.busy;
    outcome.handled = window.dialog()->Dispatch(message, &outcome.result);
    if (Window* still = WindowByToken(token)) {
        --still->busy;
    }
    DestroyEndedWindows();
    return outcome;
}

void MemoryDialogHost::DestroyEndedWindows() {
    for (size_t i = windows_.size(); i-- > 0;) {
        if (i < windows_.size() && windows_[i]->ended() && windows_[i]->busy == 0) {
            Destroy(*windows_[i]);
        }
    }
}

void MemoryDialogHost::Destroy(Window& window) {
    const uint64_t token = window.token();
    CDialog* dialog = window.dialog();
    if (dialog != nullptr) {
        intptr_t ignored = 0;
        ++window.busy;
        dialog->Dispatch({kWmDestroy, 0, 0}, &ignored);
        --window.busy;
        dialog->AttachWindow(nullptr);
        results_.emplace_back(dialog, window.result());
    }
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(),
                                  [token](const auto& w) { return w->token() == token; }),
                   windows_.end());
}

void MemoryDialogHost::Enqueue(uint64_t token, const WindowMessage& message) {
    std::lock_guard<std::mutex> lock(queueMutex_);
    queue_.emplace_back(token, message);
}

int MemoryDialogHost::PumpPostedMessages() {
    int delivered = 0;
    for (;;) {
        std::pair<uint64_t, WindowMessage> next;
        {
            std::lock_guard<std::mutex> lock(queueMutex_);
            if (queue_.empty()) {
                return delivered;
            }
            next = queue_.front();
            queue_.pop_front();
        }
        // Messages for a window that no longer exists are dropped, as the system drops them.
        if (Window* window = WindowByToken(next.first)) {
            Deliver(*window, next.second);
            ++delivered;
        }
    }
}

void MemoryDialogHost::TickTimers(int ticks) {
    for (int tick = 0; tick < ticks; ++tick) {
        PumpPostedMessages();
        std::vector<std::pair<uint64_t, unsigned>> due;
        for (const auto& window : windows_) {
            for (unsigned id : window->timers()) {
                due.emplace_back(window->token(), id);
            }
        }
        for (const auto& [token, id] : due) {
            if (Window* window = WindowByToken(token)) {
                Deliver(*window, {kWmTimer, id, 0});
            }
        }
    }
}

int MemoryDialogHost::RecordMessageBox(const Window& owner, const std::string& text,
                                       const std::string& title) {
    const int ownerTemplate = owner.dialog() != nullptr ? owner.dialog()->TemplateId() : -1;
    messageBoxes_.push_back({ownerTemplate, title, text});
    if (answerer_) {
        const MessageBoxRecord record = messageBoxes_.back();
        answerer_(*this, record);
    }
    return kIdOk;
}

bool MemoryDialogHost::RecordSaveFileRequest(const SaveFileRequest& request, ChosenFile* chosen) {
    saveFileRequests_.push_back(request);
    if (!saveFileAnswerer_) {
        return false;
    }
    ChosenFile answer;
    if (!saveFileAnswerer_(request, &answer)) {
        return false;
    }
    *chosen = answer;
    return true;
}

DispatchOutcome MemoryDialogHost::Send(unsigned message, uintptr_t wParam, intptr_t lParam) {
    Window* window = Top();
    return window != nullptr ? Deliver(*window, {message, wParam, lParam})
                             : DispatchOutcome{false, 0};
}

bool MemoryDialogHost::Click(int id) {
    Window* window = Top();
    ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    if (control == nullptr || !control->enabled || !control->IsButton()) {
        return false;
    }
    window->controls.Click(*control);
    window->focus = id;
    Send(kWmCommand, MakeCommandParam(id, kBnClicked), 0);
    return true;
}

bool MemoryDialogHost::SelectComboItem(int id, int index) {
    Window* window = Top();
    ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    if (control == nullptr || !control->enabled || control->kind != ControlKind::kComboBox ||
        index < 0 || index >= static_cast<int>(control->items.size())) {
        return false;
    }
    control->selection = index;
    window->focus = id;
    Send(kWmCommand, MakeCommandParam(id, kCbnSelChange), 0);
    return true;
}

DispatchOutcome MemoryDialogHost::PressKey(DialogKey key) {
    Window* window = Top();
    if (window == nullptr) {
        return {false, 0};
    }
    switch (key) {
        case DialogKey::kEscape:
            return Send(kWmCommand, MakeCommandParam(kIdCancel, kBnClicked), 0);
        case DialogKey::kF1:
            return Send(kWmHelp, 0, 0);
        case DialogKey::kEnter:
            break;
    }
    // Enter: a focused push button is pressed; a multi-line edit that wants Return keeps it;
    // anywhere else the default button (or OK) is issued.
    const ControlState* focused = window->controls.Find(window->focus);
    if (focused != nullptr && focused->IsPushButton()) {
        return Send(kWmCommand, MakeCommandParam(focused->id, kBnClicked), 0);
    }
    if (focused != nullptr && focused->WantsReturn()) {
        return {false, 0};
    }
    return Send(kWmCommand, MakeCommandParam(window->controls.DefaultButtonId(), kBnClicked), 0);
}

DispatchOutcome MemoryDialogHost::SendSysCommand(unsigned commandId) {
    Window* window = Top();
    if (window == nullptr) {
        return {false, 0};
    }
    const uint64_t token = window->token();
    const DispatchOutcome outcome = Send(kWmSysCommand, commandId, 0);
    if (outcome.handled) {
        return outcome;
    }
    defaultSysCommands_.push_back(commandId);
    window = WindowByToken(token);
    if (window == nullptr) {
        return outcome;
    }
    switch (commandId & 0xFFF0u) {
        case kScClose:
            Deliver(*window, {kWmCommand, MakeCommandParam(kIdCancel, kBnClicked), 0});
            break;
        case kScMinimize:
            window->minimised = true;
            break;
        case kScRestore:
            window->minimised = false;
            break;
        default:
            break;
    }
    return outcome;
}

void MemoryDialogHost::SetFocus(int id) {
    if (Window* window = Top()) {
        window->focus = id;
    }
}

int MemoryDialogHost::FocusedControl() const {
    const Window* window = Top();
    return window != nullptr ? window->focus : 0;
}

void MemoryDialogHost::SetMinimised(bool minimised) {
    if (Window* window = Top()) {
        window->minimised = minimised;
    }
}

void MemoryDialogHost::SetClientSize(int width, int height) {
    if (Window* window = Top()) {
        window->SetClientSize(width, height);
    }
}

DispatchOutcome MemoryDialogHost::Paint() {
    Window* window = Top();
    if (window == nullptr) {
        return {false, 0};
    }
    const uint64_t token = window->token();
    const DispatchOutcome outcome = Send(kWmPaint, 0, 0);
    if (!outcome.handled) {
        if (Window* still = WindowByToken(token)) {
            ++still->defaultPaints;
        }
    }
    return outcome;
}

DispatchOutcome MemoryDialogHost::QueryDragIcon() {
    return Send(kWmQueryDragIcon, 0, 0);
}

ControlColor MemoryDialogHost::QueryControlColor(int id) {
    ControlColor color;
    color.controlId = id;
    Send(kWmCtlColorStatic, 0, reinterpret_cast<intptr_t>(&color));
    return color;
}

bool MemoryDialogHost::HasControl(int id) const {
    const Window* window = Top();
    return window != nullptr && window->controls.Find(id) != nullptr;
}

bool MemoryDialogHost::IsEnabled(int id) const {
    const Window* window = Top();
    const ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    return control != nullptr && control->enabled;
}

int MemoryDialogHost::GetCheck(int id) const {
    const Window* window = Top();
    const ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    return control != nullptr ? control->check : 0;
}

std::string MemoryDialogHost::Text(int id) const {
    const Window* window = Top();
    const ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    return control != nullptr ? control->text : std::string();
}

std::vector<std::string> MemoryDialogHost::ComboItems(int id) const {
    const Window* window = Top();
    const ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    return control != nullptr ? control->items : std::vector<std::string>();
}

int MemoryDialogHost::ComboSelection(int id) const {
    const Window* window = Top();
    const ControlState* control = window != nullptr ? window->controls.Find(id) : nullptr;
    return control != nullptr ? control->selection : -1;
}

std::string MemoryDialogHost::Caption() const {
    const Window* window = Top();
    return window != nullptr ? window->caption() : std::string();
}

std::vector<SystemMenuItem> MemoryDialogHost::SystemMenu() const {
    const Window* window = Top();
    return window != nullptr ? window->systemMenu() : std::vector<SystemMenuItem>();
}

IconHandle MemoryDialogHost::Icon(bool large) const {
    const Window* window = Top();
    return window != nullptr ? window->icon(large) : 0;
}

std::vector<unsigned> MemoryDialogHost::RunningTimers() const {
    const Window* window = Top();
    return window != nullptr ? window->timers() : std::vector<unsigned>();
}

unsigned MemoryDialogHost::TimerPeriod(unsigned timerId) const {
    const Window* window = Top();
    return window != nullptr ? window->timerPeriod(timerId) : 0;
}

const std::vector<IconPaint>& MemoryDialogHost::IconPaints() const {
    static const std::vector<IconPaint> kNone;
    const Window* window = Top();
    return window != nullptr ? window->iconPaints : kNone;
}

int MemoryDialogHost::DefaultPaints() const {
    const Window* window = Top();
    return window != nullptr ? window->defaultPaints : 0;
}
