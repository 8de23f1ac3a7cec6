#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog/dialog.h"
#include "dialog/win32/win32_dialog_backend.h"

namespace {

class Win32DialogWindow : public DialogWindow {
public:
    void Attach(HWND window) { window_ = window; }

    uintptr_t NativeHandle() const override { return reinterpret_cast<uintptr_t>(window_); }
    void EndDialog(int result) override { ::EndDialog(window_, result); }
    bool Post(const WindowMessage& m) override {
        return PostMessageA(window_, m.message, m.wParam, m.lParam) != FALSE;
    }

    void EnableControl(int id, bool enable) override {
        if (HWND control = GetDlgItem(window_, id)) {
            EnableWindow(control, enable ? TRUE : FALSE);
        }
    }
    void SetCheck(int id, int state) override {
        CheckDlgButton(window_, id, static_cast<UINT>(state));
    }
    int GetCheck(int id) const override {
        return static_cast<int>(IsDlgButtonChecked(window_, id));
    }
    void SetControlText(int id, const std::string& text) override {
        SetDlgItemTextA(window_, id, text.c_str());
    }
    std::string GetControlText(int id) const override {
        HWND control = GetDlgItem(window_, id);
        if (control == nullptr) {
            return std::string();
        }
        std::vector<char> buffer(GetWindowTextLengthA(control) + 1, '\0');
        const int copied = GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
        return std::string(buffer.data(), copied > 0 ? copied : 0);
    }
    int GetControlTextLength(int id) const override {
        HWND control = GetDlgItem(window_, id);
        return control != nullptr ? GetWindowTextLengthA(control) : 0;
    }

    void ComboResetContent(int id) override { Send(id, CB_RESETCONTENT, 0, 0); }
    int ComboInsertString(int id, int index, const std::string& text) override {
        return static_cast<int>(Send(id, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ComboSetCurSel(int id, int index) override {
        Send(id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    int ComboGetCurSel(int id) const override {
        return static_cast<int>(Send(id, CB_GETCURSEL, 0, 0));
    }

    void EditSetSel(int id, int start, int end) override {
        Send(id, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    }
    void EditScrollCaret(int id) override { Send(id, EM_SCROLLCARET, 0, 0); }
    void EditReplaceSel(int id, const std::string& text, bool canUndo) override {
        Send(id, EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }

    bool SetTimer(unsigned timerId, unsigned periodMs) override {
        return ::SetTimer(window_, timerId, periodMs, nullptr) != 0;
    }
    void KillTimer(unsigned timerId) override { ::KillTimer(window_, timerId); }

    int ShowMessageBox(const std::string& text, const std::string& title) override {
        return MessageBoxA(window_, text.c_str(), title.c_str(), MB_OK);
    }
    // The Windows window offers nothing that is saved to a file.
    bool ChooseFileToSave(const SaveFileRequest& /*request*/, ChosenFile* /*chosen*/) override {
        return false;
    }

    bool HasSystemMenu() const override { return GetSystemMenu(window_, FALSE) != nullptr; }
    void AppendSystemMenuSeparator() override {
        AppendMenuA(GetSystemMenu(window_, FALSE), MF_SEPARATOR, 0, nullptr);
    }
    void AppendSystemMenuItem(unsigned commandId, const std::string& text) override {
        AppendMenuA(GetSystemMenu(window_, FALSE), MF_STRING, commandId, text.c_str());
    }

    void SetIcon(IconHandle icon, bool large) override {
        SendMessageA(window_, WM_SETICON, large ? ICON_BIG : ICON_SMALL, static_cast<LPARAM>(icon));
    }
    bool IsMinimised() const override { return IsIconic(window_) != FALSE; }
    int ClientWidth() const override { return ClientRect().right; }
    int ClientHeight() const override { return ClientRect().bottom; }
    int SystemIconWidth() const override { return GetSystemMetrics(SM_CXICON); }
    int SystemIconHeight() const override { return GetSystemMetrics(SM_CYICON); }
    void PaintIcon(IconHandle icon, int x, int y) override {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        DrawIcon(dc, x, y, reinterpret_cast<HICON>(icon));
        EndPaint(window_, &paint);
    }

private:
    LRESULT Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const {
        return SendDlgItemMessageA(window_, id, message, wParam, lParam);
    }
    RECT ClientRect() const {
        RECT rect{};
        GetClientRect(window_, &rect);
        return rect;
    }

    HWND window_ = nullptr;
};

struct ModalRun {
    CDialog* dialog;
    Win32DialogWindow window;
};

// Runs the default colour handling, then lets the dialog change text colour and background mode;
// the default brush is returned either way.
INT_PTR HandleStaticColour(HWND window, CDialog& dialog, WPARAM wParam, LPARAM lParam) {
    const auto brush = DefWindowProcW(window, WM_CTLCOLORSTATIC, wParam, lParam);
    ControlColor color;
    color.controlId = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
    intptr_t ignored = 0;
    if (!dialog.Dispatch({kWmCtlColorStatic, 0, reinterpret_cast<intptr_t>(&color)}, &ignored)) {
        return FALSE;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (color.setTextColor) {
        SetTextColor(dc, color.textColor);
    }
    if (color.transparentBackground) {
        SetBkMode(dc, TRANSPARENT);
    }
    return static_cast<INT_PTR>(brush);
}

// Templates place the dialogs at 0,0; like the classic frameworks, a dialog is centred over its
// owner instead, or over the work area when it has none, and kept inside the work area.
void CentreWindow(HWND window) {
    RECT area{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT reference = area;
    if (HWND owner = GetWindow(window, GW_OWNER)) {
        GetWindowRect(owner, &reference);
    }
    RECT own{};
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    int x = (reference.left + reference.right - width) / 2;
    int y = (reference.top + reference.bottom - height) / 2;
    x = std::max<int>(area.left, std::min<int>(x, area.right - width));
    y = std::max<int>(area.top, std::min<int>(y, area.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* run = reinterpret_cast<ModalRun*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(run));
        run->window.Attach(window);
        CentreWindow(window);
        run->dialog->AttachWindow(&run->window);
        return run->dialog->OnInitDialog() ? TRUE : FALSE;
    }
    auto* run = reinterpret_cast<ModalRun*>(GetWindowLongPtrW(window, DWLP_USER));
    if (run == nullptr) {
        return FALSE;  // messages before WM_INITDIALOG
    }
    if (message == WM_CTLCOLORSTATIC) {
        return HandleStaticColour(window, *run->dialog, wParam, lParam);
    }
    intptr_t result = 0;
    if (!run->dialog->Dispatch({message, wParam, lParam}, &result)) {
        return FALSE;
    }
    if (message == WM_QUERYDRAGICON) {
        return static_cast<INT_PTR>(result);  // returned directly, not through DWLP_MSGRESULT
    }
    SetWindowLongPtrW(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
    return TRUE;
}

class Win32DialogBackend : public DialogBackend {
public:
    explicit Win32DialogBackend(HINSTANCE instance) : instance_(instance) {}

    int RunModal(CDialog& dialog) override {
        HWND owner = nullptr;
        if (dialog.Parent() != nullptr && dialog.Parent()->Window() != nullptr) {
            owner = reinterpret_cast<HWND>(dialog.Parent()->Window()->NativeHandle());
        }
        ModalRun run{&dialog, {}};
        const INT_PTR result =
            DialogBoxParamW(instance_, MAKEINTRESOURCEW(dialog.TemplateId()), owner,
                            DialogProcedure, reinterpret_cast<LPARAM>(&run));
        dialog.AttachWindow(nullptr);
        return static_cast<int>(result);
    }

    IconHandle LoadIconResource(int iconId) override {
        return reinterpret_cast<IconHandle>(LoadIconW(instance_, MAKEINTRESOURCEW(iconId)));
    }

    std::string ApplicationName() const override {
        char path[MAX_PATH] = {};
        const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string name(path, length);
        const size_t slash = name.find_last_of("\\/");
        if (slash != std::string::npos) {
            name.erase(0, slash + 1);
        }
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos) {
            name.erase(dot);
        }
        return name;
    }

    std::string LoadText(int stringId) const override {
        const wchar_t* text = nullptr;
        // With a zero buffer size LoadStringW returns a pointer to the resource text itself.
        const int length =
            LoadStringW(instance_, static_cast<UINT>(stringId), reinterpret_cast<LPWSTR>(&text), 0);
        if (length <= 0 || text == nullptr) {
            return std::string();
        }
        const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
        std::string narrow(size > 0 ? size : 0, '\0');
        WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
        return narrow;
    }

    bool IsLeadByte(unsigned char byte) const override { return IsDBCSLeadByte(byte) != FALSE; }

private:
    HINSTANCE instance_;
};

}  // namespace

std::unique_ptr<DialogBackend> CreateWin32DialogBackend(void* moduleInstance) {
    return std::make_unique<Win32DialogBackend>(static_cast<HINSTANCE>(moduleInstance));
}
