// winauto: drives the program's windows from outside, for the end-to-end tests under Wine.
// One command per run; every result is a UTF-8 line on stdout that a shell test can grep.
// Exit status 0 when the command did what it says, 1 when it did not (window missing, timeout),
// 2 for a usage error.
//
// Windows are named by a regular expression matched against the whole caption of a visible
// top-level window (UTF-8), e.g. "Velmora.*". Commands:
//   wait-window CAPTION_RE TIMEOUT_MS     wait until such a window exists; prints it
//   wait-gone CAPTION_RE TIMEOUT_MS       wait until none exists
//   count CAPTION_RE                      prints "count N"
//   windows                               prints every visible top-level window
//   controls CAPTION_RE                   one line per child control, in tab order
//   text CAPTION_RE ID                    prints "text ID TEXT" of one control
//   wait-text CAPTION_RE ID TEXT_RE TIMEOUT_MS
//                                         wait until the control's text (escaped as printed)
//                                         matches; prints "text ID TEXT" as it is at the end
//   items CAPTION_RE ID                   prints "item N TEXT" for each entry of a combo box
//   click CAPTION_RE ID                   posts a click to a button (does not wait for it)
//   select CAPTION_RE ID INDEX            selects a combo box item and notifies the dialog as a
//                                         user's choice does (CBN_SELCHANGE; does not wait)
//   syscommand CAPTION_RE ID              posts WM_SYSCOMMAND with that command id
//   key CAPTION_RE esc|enter|f1           types the key into that window
//   close CAPTION_RE                      the Close item of the window menu
//   rect CAPTION_RE                       prints "rect X Y WIDTH HEIGHT" in screen pixels
//   foreground                            prints the foreground window
//   msgbox TIMEOUT_MS                     waits for a message box; prints title and text
//   msgbox-ok TIMEOUT_MS                  waits for a message box and presses its button
//   dump-resources EXE                    prints the dialog templates and strings of EXE
//   mutex NAME                            prints "mutex NAME exists" or "mutex NAME absent"
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kMessageTimeoutMs = 5000;
constexpr int kMessageBoxTextId = 0xFFFF;         // the static that holds a message box's text
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);  // RT_DIALOG
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);  // RT_STRING

std::string Utf8(const std::wstring& text) {
    if (text.empty()) {
        return "";
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                   0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

// CR, LF and backslash as \r, \n, \\, so every result stays on one line.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else {
            out += c;
        }
    }
    return out;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string Hex(DWORD value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08lx", static_cast<unsigned long>(value));
    return buffer;
}

// Text of another process's window through WM_GETTEXT, with a time limit so a busy program
// cannot hang the test.
std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &length)) {
        return "<no answer>";
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied);
    text.resize(copied);
    return Utf8(text);
}

std::string ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return Utf8(name);
}

struct TopLevelSearch {
    const std::regex* caption;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TopLevelSearch*>(param);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (!search->caption || std::regex_match(WindowText(window), *search->caption)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> TopLevelWindows(const std::regex* caption) {
    TopLevelSearch search{caption, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForWindow(const std::regex& caption, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (true) {
        std::vector<HWND> found = TopLevelWindows(&caption);
        if (!found.empty()) {
            return found.front();
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

std::string Describe(HWND window) {
    return "window caption=" + Escaped(WindowText(window)) + " class=" + ClassOf(window) +
           " enabled=" + std::to_string(IsWindowEnabled(window) ? 1 : 0);
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

LRESULT Query(HWND window, UINT message, WPARAM wParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs,
                             &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::string DescribeControl(HWND control) {
    std::string className = ClassOf(control);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    std::string line = "control id=" + std::to_string(static_cast<short>(GetDlgCtrlID(control))) +
                       " class=" + className +
                       " enabled=" + std::to_string(IsWindowEnabled(control) ? 1 : 0) +
                       " visible=" + std::to_string((style & WS_VISIBLE) ? 1 : 0);
    if (className == "Button") {
        line += " checked=" + std::to_string(Query(control, BM_GETCHECK));
    }
    if (className == "ComboBox") {
        line += " items=" + std::to_string(Query(control, CB_GETCOUNT)) +
                " selected=" + std::to_string(Query(control, CB_GETCURSEL));
    }
    line += " style=" + Hex(static_cast<DWORD>(style));
    bool isIcon = className == "Static" && (style & SS_TYPEMASK) == SS_ICON;
    return line + " text=" + (isIcon ? "<icon>" : Escaped(WindowText(control)));
}

// A message box: a dialog whose text sits in the static with id 0xFFFF.
HWND FindMessageBox() {
    for (HWND window : TopLevelWindows(nullptr)) {
        if (ClassOf(window) == "#32770" && GetDlgItem(window, kMessageBoxTextId)) {
            return window;
        }
    }
    return nullptr;
}

HWND WaitForMessageBox(DWORD timeoutMs) {
    DWORD start = GetTickCount();
    while (true) {
        if (HWND box = FindMessageBox()) {
            return box;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(kPollMs);
    }
}

void TypeKey(HWND window, WORD key) {
    SetForegroundWindow(window);
    INPUT inputs[2] = {};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

int Usage() {
    Print("usage: winauto COMMAND ARGS... (see the source for the commands)");
    return 2;
}

// ---- compiled resources, printed like resource_catalog_dump prints the generated catalog ----

class TemplateReader {
public:
    TemplateReader(const BYTE* data, DWORD size) : data_(data), size_(size) {}

    bool Ok() const { return ok_; }
    WORD Word() { return static_cast<WORD>(Take(2)); }
    DWORD Dword() { return Take(4); }
    BYTE Byte() { return static_cast<BYTE>(Take(1)); }
    short Short() { return static_cast<short>(Word()); }
    void AlignDword() { pos_ = (pos_ + 3) & ~static_cast<DWORD>(3); }

    std::wstring String() {
        std::wstring text;
        for (WORD c = Word(); ok_ && c != 0; c = Word()) {
            text += static_cast<wchar_t>(c);
        }
        return text;
    }

    // A string or, after 0xFFFF, an ordinal (returned as "#N" with isOrdinal set).
    std::wstring StringOrOrdinal(bool& isOrdinal, WORD& ordinal) {
        isOrdinal = false;
        if (pos_ + 2 <= size_ && data_[pos_] == 0xFF && data_[pos_ + 1] == 0xFF) {
            Word();
            isOrdinal = true;
            ordinal = Word();
            return L"";
        }
        return String();
    }

private:
    DWORD Take(DWORD bytes) {
        if (!ok_ || pos_ + bytes > size_) {
            ok_ = false;
            return 0;
        }
        DWORD value = 0;
        for (DWORD i = 0; i < bytes; ++i) {
            value |= static_cast<DWORD>(data_[pos_ + i]) << (8 * i);
        }
        pos_ += bytes;
        return value;
    }

    const BYTE* data_;
    DWORD size_;
    DWORD pos_ = 0;
    bool ok_ = true;
};

std::string ControlClassName(bool isOrdinal, WORD ordinal, const std::wstring& name) {
    if (!isOrdinal) {
        // windres stores the class by name, in capitals; the name is case-insensitive.
        for (const wchar_t* known : {L"Button", L"Edit", L"Static", L"ComboBox"}) {
            if (lstrcmpiW(name.c_str(), known) == 0) {
                return Utf8(known);
            }
        }
        return Utf8(name);
    }
    switch (ordinal) {
        case 0x80:
            return "Button";
        case 0x81:
            return "Edit";
        case 0x82:
            return "Static";
        case 0x85:
            return "ComboBox";
        default:
            return "#" + std::to_string(ordinal);
    }
}

bool PrintDialogTemplate(int id, WORD language, const BYTE* data, DWORD size) {
    TemplateReader in(data, size);
    if (in.Word() != 1 || in.Word() != 0xFFFF) {
        Print("dialog " + std::to_string(id) + " is not a DIALOGEX template");
        return false;
    }
    in.Dword();  // help id
    DWORD exStyle = in.Dword();
    DWORD style = in.Dword();
    WORD count = in.Word();
    short x = in.Short(), y = in.Short(), cx = in.Short(), cy = in.Short();
    bool isOrdinal = false;
    WORD ordinal = 0;
    in.StringOrOrdinal(isOrdinal, ordinal);  // menu
    in.StringOrOrdinal(isOrdinal, ordinal);  // window class
    std::string caption = Utf8(in.String());
    int points = 0, charset = 0;
    std::string font;
    if (style & DS_SETFONT) {
        points = in.Word();
        in.Word();  // weight
        in.Byte();  // italic
        charset = in.Byte();
        font = Utf8(in.String());
    }
    std::string head = std::to_string(id) + " " + std::to_string(language);
    Print("dialog " + head + " style=" + Hex(style) + " exstyle=" + Hex(exStyle) +
          " rect=" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(cx) + "," +
          std::to_string(cy) + " font=" + std::to_string(points) + "," + std::to_string(charset) +
          "," + font + " caption=" + Escaped(caption));
    for (int i = 0; i < count && in.Ok(); ++i) {
        in.AlignDword();
        in.Dword();  // help id
        DWORD itemExStyle = in.Dword();
        DWORD itemStyle = in.Dword();
        short ix = in.Short(), iy = in.Short(), icx = in.Short(), icy = in.Short();
        int itemId = static_cast<int>(in.Dword());
        std::wstring className = in.StringOrOrdinal(isOrdinal, ordinal);
        std::string cls = ControlClassName(isOrdinal, ordinal, className);
        std::wstring title = in.StringOrOrdinal(isOrdinal, ordinal);
        std::string text = isOrdinal ? std::to_string(ordinal) : Utf8(title);
        WORD extra = in.Word();
        for (WORD b = 0; b < extra; ++b) {
            in.Byte();
        }
        Print("control " + head + " " + std::to_string(i) + " id=" + std::to_string(itemId) +
              " class=" + cls + " style=" + Hex(itemStyle) + " exstyle=" + Hex(itemExStyle) +
              " rect=" + std::to_string(ix) + "," + std::to_string(iy) + "," + std::to_string(icx) +
              "," + std::to_string(icy) + " text=" + Escaped(text));
    }
    return in.Ok();
}

// A string block holds 16 counted UTF-16 strings; block N holds ids (N-1)*16 .. N*16-1.
void PrintStringBlock(int block, WORD language, const BYTE* data, DWORD size) {
    TemplateReader in(data, size);
    for (int i = 0; i < 16 && in.Ok(); ++i) {
        WORD length = in.Word();
        std::wstring text;
        for (WORD c = 0; c < length; ++c) {
            text += static_cast<wchar_t>(in.Word());
        }
        if (length > 0) {
            Print("string " + std::to_string((block - 1) * 16 + i) + " " +
                  std::to_string(language) + " " + Escaped(Utf8(text)));
        }
    }
}

struct ResourceDump {
    bool ok = true;
};

BOOL CALLBACK DumpLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language,
                           LONG_PTR param) {
    auto* dump = reinterpret_cast<ResourceDump*>(param);
    HRSRC info = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = info ? LoadResource(module, info) : nullptr;
    const BYTE* data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (!data) {
        dump->ok = false;
        return TRUE;
    }
    DWORD size = SizeofResource(module, info);
    int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
    if (type == kDialogType) {
        dump->ok = PrintDialogTemplate(id, language, data, size) && dump->ok;
    } else {
        PrintStringBlock(id, language, data, size);
    }
    return TRUE;
}

BOOL CALLBACK DumpName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    if (!IS_INTRESOURCE(name)) {
        return TRUE;  // our resources are all numbered
    }
    EnumResourceLanguagesW(module, type, name, DumpLanguage, param);
    return TRUE;
}

int DumpResources(const std::wstring& path) {
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        Print("cannot load " + Utf8(path));
        return 1;
    }
    ResourceDump dump;
    EnumResourceNamesW(module, kDialogType, DumpName, reinterpret_cast<LONG_PTR>(&dump));
    EnumResourceNamesW(module, kStringType, DumpName, reinterpret_cast<LONG_PTR>(&dump));
    FreeLibrary(module);
    return dump.ok ? 0 : 1;
}

// ---- commands on live windows ----

using Args = std::vector<std::string>;

DWORD Number(const std::string& text) {
    return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 0));
}

HWND FindOne(const std::string& pattern) {
    std::regex caption(pattern);
    std::vector<HWND> found = TopLevelWindows(&caption);
    if (found.empty()) {
        Print("no window " + pattern);
        return nullptr;
    }
    return found.front();
}

HWND FindControl(const std::string& pattern, const std::string& id) {
    HWND window = FindOne(pattern);
    HWND control = window ? GetDlgItem(window, static_cast<int>(Number(id))) : nullptr;
    if (window && !control) {
        Print("no control " + id);
    }
    return control;
}

// Polls the control's text: the program fills its log box from a timer, piece by piece.
int WaitForText(const std::string& pattern, const std::string& id, const std::regex& text,
                DWORD timeoutMs) {
    HWND control = FindControl(pattern, id);
    if (!control) {
        return 1;
    }
    const DWORD start = GetTickCount();
    std::string current = Escaped(WindowText(control));
    while (!std::regex_match(current, text)) {
        if (GetTickCount() - start >= timeoutMs) {
            Print("timeout: text " + id + " " + current);
            return 1;
        }
        Sleep(kPollMs);
        current = Escaped(WindowText(control));
    }
    Print("text " + id + " " + current);
    return 0;
}

std::string ComboItemText(HWND combo, LRESULT index) {
    const LRESULT length = Query(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) {
        return "<no answer>";
    }
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                             reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMs, &copied) ||
        static_cast<LRESULT>(copied) == CB_ERR) {
        return "<no answer>";
    }
    text.resize(copied);
    return Utf8(text);
}

// A user's choice in a drop-down list changes the selection and then sends CBN_SELCHANGE to the
// owner; CB_SETCURSEL alone notifies nobody, so the notification is posted here.
int SelectComboItem(const std::string& pattern, const std::string& id, const std::string& index) {
    HWND control = FindControl(pattern, id);
    if (!control) {
        return 1;
    }
    const WPARAM item = Number(index);
    if (Query(control, CB_SETCURSEL, item) != static_cast<LRESULT>(item)) {
        Print("no item " + index);
        return 1;
    }
    const WPARAM notification = MAKEWPARAM(static_cast<WORD>(Number(id)), CBN_SELCHANGE);
    PostMessageW(GetParent(control), WM_COMMAND, notification, reinterpret_cast<LPARAM>(control));
    Print("selected " + index);
    return 0;
}

// Whether a named mutex exists now, created by any process of this Wine prefix.
int ReportMutex(const wchar_t* name) {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, name);
    Print("mutex " + Utf8(name) + (mutex ? " exists" : " absent"));
    if (mutex) {
        CloseHandle(mutex);
    }
    return 0;
}

int RunWindowCommand(const std::string& command, const Args& args) {
    if (command == "wait-window" && args.size() == 2) {
        HWND window = WaitForWindow(std::regex(args[0]), Number(args[1]));
        Print(window ? Describe(window) : "timeout waiting for " + args[0]);
        return window ? 0 : 1;
    }
    if (command == "wait-gone" && args.size() == 2) {
        std::regex caption(args[0]);
        DWORD start = GetTickCount();
        while (!TopLevelWindows(&caption).empty()) {
            if (GetTickCount() - start >= Number(args[1])) {
                Print("still there: " + args[0]);
                return 1;
            }
            Sleep(kPollMs);
        }
        Print("gone " + args[0]);
        return 0;
    }
    if (command == "count" && args.size() == 1) {
        std::regex caption(args[0]);
        Print("count " + std::to_string(TopLevelWindows(&caption).size()));
        return 0;
    }
    if (command == "windows" && args.empty()) {
        for (HWND window : TopLevelWindows(nullptr)) {
            Print(Describe(window));
        }
        return 0;
    }
    if (command == "controls" && args.size() == 1) {
        HWND window = FindOne(args[0]);
        if (!window) {
            return 1;
        }
        Print(Describe(window));
        for (HWND child : Children(window)) {
            Print(DescribeControl(child));
        }
        return 0;
    }
    if (command == "text" && args.size() == 2) {
        HWND control = FindControl(args[0], args[1]);
        if (control) {
            Print("text " + args[1] + " " + Escaped(WindowText(control)));
        }
        return control ? 0 : 1;
    }
    if (command == "wait-text" && args.size() == 4) {
        return WaitForText(args[0], args[1], std::regex(args[2]), Number(args[3]));
    }
    if (command == "items" && args.size() == 2) {
        HWND control = FindControl(args[0], args[1]);
        if (!control) {
            return 1;
        }
        const LRESULT count = Query(control, CB_GETCOUNT);
        for (LRESULT i = 0; i < count; ++i) {
            Print("item " + std::to_string(i) + " " + Escaped(ComboItemText(control, i)));
        }
        return count >= 0 ? 0 : 1;
    }
    if (command == "click" && args.size() == 2) {
        HWND control = FindControl(args[0], args[1]);
        if (control) {
            PostMessageW(control, BM_CLICK, 0, 0);
            Print("clicked " + args[1]);
        }
        return control ? 0 : 1;
    }
    if (command == "select" && args.size() == 3) {
        return SelectComboItem(args[0], args[1], args[2]);
    }
    if (command == "syscommand" && args.size() == 2) {
        HWND window = FindOne(args[0]);
        if (window) {
            PostMessageW(window, WM_SYSCOMMAND, Number(args[1]), 0);
            Print("syscommand " + args[1]);
        }
        return window ? 0 : 1;
    }
    if (command == "close" && args.size() == 1) {
        HWND window = FindOne(args[0]);
        if (window) {
            PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            Print("close posted");
        }
        return window ? 0 : 1;
    }
    if (command == "key" && args.size() == 2) {
        WORD key = args[1] == "esc"     ? VK_ESCAPE
                   : args[1] == "enter" ? VK_RETURN
                   : args[1] == "f1"    ? VK_F1
                                        : 0;
        HWND window = key ? FindOne(args[0]) : nullptr;
        if (window) {
            TypeKey(window, key);
            Print("key " + args[1]);
        }
        return window ? 0 : (key ? 1 : Usage());
    }
    if (command == "rect" && args.size() == 1) {
        HWND window = FindOne(args[0]);
        RECT r = {};
        if (window && GetWindowRect(window, &r)) {
            Print("rect " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
                  std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
        }
        return window ? 0 : 1;
    }
    if (command == "foreground" && args.empty()) {
        HWND window = GetForegroundWindow();
        Print(window ? "foreground " + Describe(window) : "foreground none");
        return 0;
    }
    if ((command == "msgbox" || command == "msgbox-ok") && args.size() == 1) {
        HWND box = WaitForMessageBox(Number(args[0]));
        if (!box) {
            Print("no message box");
            return 1;
        }
        Print("msgbox title=" + Escaped(WindowText(box)) +
              " text=" + Escaped(WindowText(GetDlgItem(box, kMessageBoxTextId))));
        if (command == "msgbox-ok") {
            HWND button = GetDlgItem(box, IDOK) ? GetDlgItem(box, IDOK) : GetDlgItem(box, IDCANCEL);
            PostMessageW(button, BM_CLICK, 0, 0);
        }
        return 0;
    }
    return Usage();
}

}  // namespace

int main() {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2) {
        return Usage();
    }
    std::string command = Utf8(argv[1]);
    if (command == "dump-resources" && argc == 3) {
        return DumpResources(argv[2]);
    }
    if (command == "mutex" && argc == 3) {
        return ReportMutex(argv[2]);
    }
    Args args;
    for (int i = 2; i < argc; ++i) {
        args.push_back(Utf8(argv[i]));
    }
    try {
        return RunWindowCommand(command, args);
    } catch (const std::regex_error&) {
        Print("bad regular expression");
        return 2;
    }
}
