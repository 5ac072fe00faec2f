// zv_winfo: reports facts about windows as JSON lines, one window a line, into FILE.
//
//   zv_winfo.exe --out FILE list                 every top-level window
//   zv_winfo.exe --out FILE find CLASS [TITLE]   the first top-level window of CLASS ("-" = any)
//   zv_winfo.exe --out FILE children HWND        the child windows of HWND, with their text
//   zv_winfo.exe --out FILE foreground           the foreground window, its focus and caret
//   zv_winfo.exe --out FILE hotkey MODS VK       whether this program could register the hot-key
//                                                now: {"registered": bool, "error": GetLastError}
//
// Each record: hwnd, class, title (for children: the text the control answers to
// WM_GETTEXT, as another process has to ask for it), id, pid, visible, enabled, rect
// [left, top, right, bottom] in screen coordinates, owner, and xwin: the X window Wine keeps
// in the window's "__wine_x11_whole_window" property (0 when there is none).
// Exit code: 0 done, 1 bad arguments or unwritable FILE, 2 no such window.
#include "zv_common.h"

#include <vector>

namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256] = L"";
    GetClassNameW(hwnd, name, 256);
    return name;
}

// The text a control holds now. GetWindowText across processes does not ask the
// control, so ask it directly, and give up on a hung window.
std::wstring AskText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
    std::vector<wchar_t> text(length + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                             5000, &copied))
        return L"";
    return std::wstring(text.data(), copied < length + 1 ? copied : length);
}

std::wstring TitleOf(HWND hwnd) {
    wchar_t title[1024] = L"";
    InternalGetWindowText(hwnd, title, 1024);
    return title;
}

std::string Rect(const RECT& r) {
    return "[" + zv::JsonNumber(r.left) + ", " + zv::JsonNumber(r.top) + ", " + zv::JsonNumber(r.right) + ", " +
           zv::JsonNumber(r.bottom) + "]";
}

std::string Describe(HWND hwnd, bool child) {
    DWORD pid = 0;
    DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    zv::JsonObject record;
    record.Text("hwnd", zv::HandleText(hwnd))
        .Text("class", ClassOf(hwnd))
        .Text("title", child ? AskText(hwnd) : TitleOf(hwnd))
        .Number("id", child ? GetDlgCtrlID(hwnd) : 0)
        .Number("pid", pid)
        .Number("tid", tid)
        .Bool("visible", IsWindowVisible(hwnd) != 0)
        .Bool("enabled", IsWindowEnabled(hwnd) != 0)
        .Add("rect", Rect(rect))
        .Text("owner", zv::HandleText(GetWindow(hwnd, GW_OWNER)))
        .Number("style", static_cast<long long>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFFFFFFLL)
        .Number("exstyle", static_cast<long long>(GetWindowLongW(hwnd, GWL_EXSTYLE)) & 0xFFFFFFFFLL)
        .Number("xwin", static_cast<long long>(reinterpret_cast<ULONG_PTR>(GetPropW(hwnd, L"__wine_x11_whole_window"))));
    return record.Str() + "\n";
}

BOOL CALLBACK CollectTopLevel(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::string*>(lParam)->append(Describe(hwnd, false));
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::string*>(lParam)->append(Describe(hwnd, true));
    return TRUE;
}

std::string Foreground() {
    HWND foreground = GetForegroundWindow();
    zv::JsonObject record;
    record.Text("hwnd", zv::HandleText(foreground));
    if (foreground) {
        record.Text("class", ClassOf(foreground)).Text("title", TitleOf(foreground));
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info)) {
            POINT caret = {info.rcCaret.left, info.rcCaret.top};
            if (info.hwndCaret) ClientToScreen(info.hwndCaret, &caret);
            record.Text("focus", zv::HandleText(info.hwndFocus))
                .Text("focus_class", info.hwndFocus ? ClassOf(info.hwndFocus) : L"")
                .Text("active", zv::HandleText(info.hwndActive))
                .Text("caret_hwnd", zv::HandleText(info.hwndCaret))
                .Add("caret", "[" + zv::JsonNumber(caret.x) + ", " + zv::JsonNumber(caret.y) + "]")
                .Bool("in_menu", (info.flags & GUI_INMENUMODE) != 0)
                .Text("menu_owner", zv::HandleText(info.hwndMenuOwner));
        }
    }
    return record.Str() + "\n";
}

// Tries the hot-key and gives it back at once: a combination another program holds fails
// with ERROR_HOTKEY_ALREADY_REGISTERED (1409).
std::string TryHotKey(UINT modifiers, UINT key) {
    SetLastError(0);
    BOOL registered = RegisterHotKey(nullptr, 1, modifiers, key);
    DWORD error = registered ? 0 : GetLastError();
    if (registered) UnregisterHotKey(nullptr, 1);
    return zv::JsonObject().Bool("registered", registered != 0).Number("error", error).Str() + "\n";
}

int Usage() {
    static const char kUsage[] =
        "usage: zv_winfo.exe --out FILE (list | find CLASS [TITLE] | children HWND | foreground | hotkey MODS VK)\n";
    return zv::PrintUsage(kUsage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4 || lstrcmpW(argv[1], L"--out") != 0) return Usage();
    std::wstring out = argv[2];
    std::wstring command = argv[3];
    std::string lines;
    int status = 0;

    if (command == L"list" && argc == 4) {
        EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&lines));
    } else if (command == L"find" && (argc == 5 || argc == 6)) {
        const wchar_t* className = lstrcmpW(argv[4], L"-") == 0 ? nullptr : argv[4];
        HWND hwnd = FindWindowW(className, argc == 6 ? argv[5] : nullptr);
        if (hwnd) lines = Describe(hwnd, false);
        else status = 2;
    } else if (command == L"children" && argc == 5) {
        HWND parent = nullptr;
        if (!zv::ParseHandle(argv[4], &parent)) return Usage();
        if (!IsWindow(parent)) {
            status = 2;
        } else {
            EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&lines));
        }
    } else if (command == L"foreground" && argc == 4) {
        lines = Foreground();
    } else if (command == L"hotkey" && argc == 6) {
        long long modifiers = 0;
        long long key = 0;
        if (!zv::ParseNumber(argv[4], &modifiers) || !zv::ParseNumber(argv[5], &key)) return Usage();
        lines = TryHotKey(static_cast<UINT>(modifiers), static_cast<UINT>(key));
    } else {
        return Usage();
    }
    if (!zv::WriteFileAtomically(out, lines)) return 1;
    return status;
}
