#include "platform/dialog.h"

#include <iterator>

CDialog::CDialog(int templateId, DialogBackend& backend, CDialog* parent)
    : templateId_(templateId), backend_(backend), parent_(parent) {}

CDialog::~CDialog() {
    if (window_ != nullptr) {
        window_->ForgetDialog();
    }
}

int CDialog::DoModal() {
    return backend_.RunModal(*this);
}

bool CDialog::PostToWindow(unsigned message, uintptr_t wParam, intptr_t lParam) {
    std::lock_guard<std::mutex> lock(postMutex_);
    return window_ != nullptr && window_->Post({message, wParam, lParam});
}

void CDialog::EndDialog(int result) {
    if (window_ != nullptr) {
        window_->EndDialog(result);
    }
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
    if (window_ != nullptr) {
        window_->EnableControl(id, enable);
    }
}

void CDialog::SetCheck(int id, int state) {
    if (window_ != nullptr) {
        window_->SetCheck(id, state);
    }
}

int CDialog::GetCheck(int id) const {
    return window_ != nullptr ? window_->GetCheck(id) : 0;
}

void CDialog::SetControlText(int id, const std::string& text) {
    if (window_ != nullptr) {
        window_->SetControlText(id, text);
    }
}

std::string CDialog::GetControlText(int id) const {
    return window_ != nullptr ? window_->GetControlText(id) : std::string();
}

int CDialog::GetControlTextLength(int id) const {
    return window_ != nullptr ? window_->GetControlTextLength(id) : 0;
}

void CDialog::ComboResetContent(int id) {
    if (window_ != nullptr) {
        window_->ComboResetContent(id);
    }
}

int CDialog::ComboInsertString(int id, int index, const std::string& text) {
    return window_ != nullptr ? window_->ComboInsertString(id, index, text) : -1;
}

void CDialog::ComboSetCurSel(int id, int index) {
    if (window_ != nullptr) {
        window_->ComboSetCurSel(id, index);
    }
}

int CDialog::ComboGetCurSel(int id) const {
    return window_ != nullptr ? window_->ComboGetCurSel(id) : -1;
}

void CDialog::EditSetSel(int id, int start, int end) {
    if (window_ != nullptr) {
        window_->EditSetSel(id, start, end);
    }
}

void CDialog::EditScrollCaret(int id) {
    if (window_ != nullptr) {
        window_->EditScrollCaret(id);
    }
}

void CDialog::EditReplaceSel(int id, const std::string& text, bool canUndo) {
    if (window_ != nullptr) {
        window_->EditReplaceSel(id, text, canUndo);
    }
}

bool CDialog::SetTimer(unsigned timerId, unsigned periodMs) {
    return window_ != nullptr && window_->SetTimer(timerId, periodMs);
}

void CDialog::KillTimer(unsigned timerId) {
    if (window_ != nullptr) {
        window_->KillTimer(timerId);
    }
}

int CDialog::ShowMessageBox(const std::string& text) {
    return window_ != nullptr ? window_->ShowMessageBox(text, backend_.ApplicationName()) : 0;
}

bool CDialog::HasSystemMenu() const {
    return window_ != nullptr && window_->HasSystemMenu();
}

void CDialog::AppendSystemMenuSeparator() {
    if (window_ != nullptr) {
        window_->AppendSystemMenuSeparator();
    }
}

void CDialog::AppendSystemMenuItem(unsigned commandId, const std::string& text) {
    if (window_ != nullptr) {
        window_->AppendSystemMenuItem(commandId, text);
    }
}

void CDialog::SetIcon(IconHandle icon, bool large) {
    if (window_ != nullptr) {
        window_->SetIcon(icon, large);
    }
}

bool CDialog::IsMinimised() const {
    return window_ != nullptr && window_->IsMinimised();
}
