#include "platform/memory_dialog_host.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t kWsDisabled = 0x08000000u;
constexpr uint32_t kWsGroup = 0x00020000u;
constexpr uint32_t kWsTabStop = 0x00010000u;
constexpr uint32_t kEsMultiline = 0x0004u;
constexpr uint32_t kEsWantReturn = 0x1000u;
constexpr IconHandle kIconTokenBase = 0x10000;
constexpr int kSystemIconSize = 32;

struct Control {
    int id = -1;
    ControlKind kind = ControlKind::kStatic;
    uint32_t style = 0;
    bool enabled = true;
    int check = 0;
    std::string text;
    std::vector<std::string> items;
    int selection = -1;
    int selectionStart = 0;
    int selectionEnd = 0;
};

bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultPushButton ||
           kind == ControlKind::kRadioButton || kind == ControlKind::kCheckBox;
}

}  // namespace

class MemoryDialogHost::Window : public DialogWindow {
public:
    Window(MemoryDialogHost& host, CDialog& dialog, const DialogTemplate& source, uint64_t token)
        : host_(host), dialog_(&dialog), token_(token) {
        caption_ = host.ToNarrow(source.caption);
        for (int i = 0; i < source.controlCount; ++i) {
            const ControlTemplate& c = source.controls[i];
            Control control;
            control.id = c.id;
            control.kind = c.kind;
            control.style = c.style;
            control.enabled = (c.style & kWsDisabled) == 0;
            controls_.push_back(control);
            if (c.kind != ControlKind::kIcon) {
                controls_.back().text = host.ToNarrow(c.text);
            }
        }
        clientWidth_ = source.width * 3 / 2;
        clientHeight_ = source.height * 3 / 2;
    }

    CDialog* dialog() const { return dialog_; }
    uint64_t token() const { return token_; }
    bool ended() const { return ended_; }
    int result() const { return result_; }
    int busy = 0;  // nesting depth of messages being handled
    int focus = 0;
    bool minimised = false;
    std::vector<IconPaint> iconPaints;
    int defaultPaints = 0;

    const std::string& caption() const { return caption_; }
    const std::vector<Control>& controls() const { return controls_; }
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

    Control* Find(int id) {
        for (Control& control : controls_) {
            if (control.id == id && id != -1) {
                return &control;
            }
        }
        return nullptr;
    }
    const Control* Find(int id) const { return const_cast<Window*>(this)->Find(id); }

    // A control the program addresses; counts the access when the id is not in the dialog.
    Control* Use(int id) {
        Control* control = Find(id);
        if (control == nullptr) {
            ++host_.unknownControlAccesses_;
        }
        return control;
    }
    const Control* Use(int id) const { return const_cast<Window*>(this)->Use(id); }

    // An automatic radio button unchecks the others of its group (which runs from a control
    // with WS_GROUP to the next one).
    void CheckRadioInGroup(const Control& clicked) {
        size_t start = 0;
        size_t index = 0;
        for (size_t i = 0; i < controls_.size(); ++i) {
            if (controls_[i].style & kWsGroup) {
                start = i;
            }
            if (&controls_[i] == &clicked) {
                index = i;
                break;
            }
        }
        for (size_t i = start; i < controls_.size(); ++i) {
            if (i > index && (controls_[i].style & kWsGroup)) {
                break;
            }
            if (controls_[i].kind == ControlKind::kRadioButton) {
                controls_[i].check = (i == index) ? 1 : 0;
            }
        }
    }

    int FirstTabStop() const {
        for (const Control& control : controls_) {
            if ((control.style & kWsTabStop) && control.enabled && control.id != -1) {
                return control.id;
            }
        }
        return 0;
    }

    int DefaultButtonId() const {
        for (const Control& control : controls_) {
            if (control.kind == ControlKind::kDefaultPushButton && control.enabled) {
                return control.id;
            }
        }
        return kIdOk;
    }

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
        if (Control* control = Use(id)) {
            control->enabled = enable;
        }
    }
    void SetCheck(int id, int state) override {
        if (Control* control = Use(id)) {
            control->check = state;
        }
    }
    int GetCheck(int id) const override {
        const Control* control = Use(id);
        return control != nullptr && IsButtonKind(control->kind) ? control->check : 0;
    }
    void SetControlText(int id, const std::string& text) override {
        if (Control* control = Use(id)) {
            control->text = text;
            control->selectionStart = control->selectionEnd = 0;
        }
    }
    std::string GetControlText(int id) const override {
        const Control* control = Use(id);
        return control != nullptr ? control->text : std::string();
    }
    int GetControlTextLength(int id) const override {
        const Control* control = Use(id);
        return control != nullptr ? static_cast<int>(control->text.size()) : 0;
    }
    void ComboResetContent(int id) override {
        if (Control* control = Use(id)) {
            control->items.clear();
            control->selection = -1;
        }
    }
    int ComboInsertString(int id, int index, const std::string& text) override {
        Control* control = Use(id);
        if (control == nullptr || index < -1 || index > static_cast<int>(control->items.size())) {
            return -1;
        }
        const int at = index == -1 ? static_cast<int>(control->items.size()) : index;
        control->items.insert(control->items.begin() + at, text);
        return at;
    }
    void ComboSetCurSel(int id, int index) override {
        if (Control* control = Use(id)) {
            const bool inRange = index >= 0 && index < static_cast<int>(control->items.size());
            control->selection = inRange ? index : -1;
        }
    }
    int ComboGetCurSel(int id) const override {
        const Control* control = Use(id);
        return control != nullptr ? control->selection : -1;
    }
    void EditSetSel(int id, int start, int end) override {
        if (Control* control = Use(id)) {
            const int length = static_cast<int>(control->text.size());
            if (end < 0 || end > length) {
                end = length;
            }
            start = std::clamp(start, 0, length);
            control->selectionStart = std::min(start, end);
            control->selectionEnd = std::max(start, end);
        }
    }
    void EditScrollCaret(int id) override { Use(id); }
    void EditReplaceSel(int id, const std::string& text, bool /*canUndo*/) override {
        if (Control* control = Use(id)) {
            const int start = control->selectionStart;
            control->text.replace(start, control->selectionEnd - start, text);
            control->selectionStart = control->selectionEnd = start + static_cast<int>(text.size());
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
    std::vector<Control> controls_;
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
        window->focus = window->FirstTabStop();
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

DispatchOutcome MemoryDialogHost::Send(unsigned message, uintptr_t wParam, intptr_t lParam) {
    Window* window = Top();
    return window != nullptr ? Deliver(*window, {message, wParam, lParam})
                             : DispatchOutcome{false, 0};
}

bool MemoryDialogHost::Click(int id) {
    Window* window = Top();
    Control* control = window != nullptr ? window->Find(id) : nullptr;
    if (control == nullptr || !control->enabled || !IsButtonKind(control->kind)) {
        return false;
    }
    if (control->kind == ControlKind::kRadioButton) {
        window->CheckRadioInGroup(*control);
    } else if (control->kind == ControlKind::kCheckBox) {
        control->check = control->check ? 0 : 1;
    }
    window->focus = id;
    Send(kWmCommand, MakeCommandParam(id, kBnClicked), 0);
    return true;
}

bool MemoryDialogHost::SelectComboItem(int id, int index) {
    Window* window = Top();
    Control* control = window != nullptr ? window->Find(id) : nullptr;
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
    const Control* focused = window->Find(window->focus);
    if (focused != nullptr && (focused->kind == ControlKind::kPushButton ||
                               focused->kind == ControlKind::kDefaultPushButton)) {
        return Send(kWmCommand, MakeCommandParam(focused->id, kBnClicked), 0);
    }
    if (focused != nullptr && focused->kind == ControlKind::kEdit &&
        (focused->style & kEsMultiline) && (focused->style & kEsWantReturn)) {
        return {false, 0};
    }
    return Send(kWmCommand, MakeCommandParam(window->DefaultButtonId(), kBnClicked), 0);
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
    return window != nullptr && window->Find(id) != nullptr;
}

bool MemoryDialogHost::IsEnabled(int id) const {
    const Window* window = Top();
    const Control* control = window != nullptr ? window->Find(id) : nullptr;
    return control != nullptr && control->enabled;
}

int MemoryDialogHost::GetCheck(int id) const {
    const Window* window = Top();
    const Control* control = window != nullptr ? window->Find(id) : nullptr;
    return control != nullptr ? control->check : 0;
}

std::string MemoryDialogHost::Text(int id) const {
    const Window* window = Top();
    const Control* control = window != nullptr ? window->Find(id) : nullptr;
    return control != nullptr ? control->text : std::string();
}

std::vector<std::string> MemoryDialogHost::ComboItems(int id) const {
    const Window* window = Top();
    const Control* control = window != nullptr ? window->Find(id) : nullptr;
    return control != nullptr ? control->items : std::vector<std::string>();
}

int MemoryDialogHost::ComboSelection(int id) const {
    const Window* window = Top();
    const Control* control = window != nullptr ? window->Find(id) : nullptr;
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
