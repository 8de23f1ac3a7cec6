#include "dialog/dialog.h"

#include <iterator>

CDialog::CDialog(int templateId, DialogBackend& backend, CDialog* parent)
    : templateId_(templateId), backend_(backend), parent_(parent) {}

CDialog::~CDialog() {
    WithWindow([](DialogWindow& w) { w.ForgetDialog(); });
}

int CDialog::DoModal() {
    return backend_.RunModal(*this);
}

bool CDialog::PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard<std::mutex> lock(postMutex_);
    return WithWindow(false, [&](DialogWindow& w) { return w.Post({message, wParam, lParam}); });
}

void CDialog::EndDialog(int result) {
    WithWindow([&](DialogWindow& w) { w.EndDialog(result); });
}

void CDialog::SetWindowCreatedHook(std::function<void(CDialog&)> hook) {
    windowCreatedHook_ = std::move(hook);
}

void CDialog::AttachWindow(DialogWindow* window) {
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        window_ = window;
    }
    if (window != nullptr && windowCreatedHook_) {
        windowCreatedHook_(*this);
    }
}

bool CDialog::Dispatch(const WindowMessage& message, intptr_t* result) {
    for (const MessageMap* map = &GetMessageMap(); map != nullptr; map = map->base) {
        for (size_t i = 0; i < map->count; ++i) {
            const MessageMapEntry& entry = map->entries[i];
            if (!EntryMatches(entry, message)) {
                continue;
            }
            // Handlers may dispatch nested messages (a message box pumps timer messages), so the
            // default request of the outer message is kept aside.
            const bool outerDefault = defaultRequested_;
            defaultRequested_ = false;
            *result = entry.thunk(*this, message);
            const bool handled = !defaultRequested_;
            defaultRequested_ = outerDefault;
            return handled;
        }
    }
    return false;
}

bool CDialog::OnInitDialog() {
    return true;
}

const MessageMap& CDialog::BaseMessageMap() {
    static constexpr MessageMapEntry kEntries[] = {
        MapClicked<&CDialog::OnOK>(kIdOk),
        MapClicked<&CDialog::OnCancel>(kIdCancel),
    };
    static constexpr MessageMap kMap{nullptr, kEntries, std::size(kEntries)};
    return kMap;
}

const MessageMap& CDialog::GetMessageMap() const {
    return BaseMessageMap();
}

void CDialog::OnOK() {
    EndDialog(kIdOk);
}

void CDialog::OnCancel() {
    EndDialog(kIdCancel);
}

void CDialog::EnableControl(int id, bool enable) {
    WithWindow([&](DialogWindow& w) { w.EnableControl(id, enable); });
}

void CDialog::SetCheck(int id, int state) {
    WithWindow([&](DialogWindow& w) { w.SetCheck(id, state); });
}

int CDialog::GetCheck(int id) const {
    return WithWindow(0, [&](DialogWindow& w) { return w.GetCheck(id); });
}

void CDialog::SetControlText(int id, const std::string& text) {
    WithWindow([&](DialogWindow& w) { w.SetControlText(id, text); });
}

std::string CDialog::GetControlText(int id) const {
    return WithWindow(std::string(), [&](DialogWindow& w) { return w.GetControlText(id); });
}

int CDialog::GetControlTextLength(int id) const {
    return WithWindow(0, [&](DialogWindow& w) { return w.GetControlTextLength(id); });
}

void CDialog::ComboResetContent(int id) {
    WithWindow([&](DialogWindow& w) { w.ComboResetContent(id); });
}

int CDialog::ComboInsertString(int id, int index, const std::string& text) {
    return WithWindow(-1, [&](DialogWindow& w) { return w.ComboInsertString(id, index, text); });
}

void CDialog::ComboSetCurSel(int id, int index) {
    WithWindow([&](DialogWindow& w) { w.ComboSetCurSel(id, index); });
}

int CDialog::ComboGetCurSel(int id) const {
    return WithWindow(-1, [&](DialogWindow& w) { return w.ComboGetCurSel(id); });
}

void CDialog::EditSetSel(int id, int start, int end) {
    WithWindow([&](DialogWindow& w) { w.EditSetSel(id, start, end); });
}

void CDialog::EditScrollCaret(int id) {
    WithWindow([&](DialogWindow& w) { w.EditScrollCaret(id); });
}

void CDialog::EditReplaceSel(int id, const std::string& text, bool canUndo) {
    WithWindow([&](DialogWindow& w) { w.EditReplaceSel(id, text, canUndo); });
}

bool CDialog::SetTimer(unsigned timerId, unsigned periodMs) {
    return WithWindow(false, [&](DialogWindow& w) { return w.SetTimer(timerId, periodMs); });
}

void CDialog::KillTimer(unsigned timerId) {
    WithWindow([&](DialogWindow& w) { w.KillTimer(timerId); });
}

int CDialog::ShowMessageBox(const std::string& text) {
    return WithWindow(
        0, [&](DialogWindow& w) { return w.ShowMessageBox(text, backend_.ApplicationName()); });
}

bool CDialog::HasSystemMenu() const {
    return WithWindow(false, [&](DialogWindow& w) { return w.HasSystemMenu(); });
}

void CDialog::AppendSystemMenuSeparator() {
    WithWindow([&](DialogWindow& w) { w.AppendSystemMenuSeparator(); });
}

void CDialog::AppendSystemMenuItem(unsigned commandId, const std::string& text) {
    WithWindow([&](DialogWindow& w) { w.AppendSystemMenuItem(commandId, text); });
}

void CDialog::SetIcon(IconHandle icon, bool large) {
    WithWindow([&](DialogWindow& w) { w.SetIcon(icon, large); });
}

bool CDialog::IsMinimised() const {
    return WithWindow(false, [&](DialogWindow& w) { return w.IsMinimised(); });
}
