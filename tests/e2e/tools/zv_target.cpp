// zv_target: an application to paste into. One top-level window, titled "Zarvic Target"
// unless --title says otherwise, holding one multi-line edit control that has the focus.
//
//   zv_target.exe [--title TITLE] [--at X Y] OUTFILE
//
// The edit control's text is written to OUTFILE as UTF-8 (CR LF kept) when the program
// is ready and again after every change, so a test waits for OUTFILE to hold what it
// expects. Messages to the top-level window (class "ZvTarget"):
//   WM_USER     write OUTFILE now
//   WM_USER+1   clear the text (and write OUTFILE)
//   WM_USER+2   bring the window to the foreground and focus the edit control
#include "zv_common.h"

namespace {

const wchar_t kClassName[] = L"ZvTarget";
const int kEditId = 100;

HWND g_edit;
std::wstring g_outFile;

void SaveText() {
    int length = GetWindowTextLengthW(g_edit);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(g_edit, &text[0], length + 1);
    text.resize(static_cast<size_t>(copied));
    zv::WriteFileAtomically(g_outFile, zv::ToUtf8(text));
}

LRESULT CALLBACK TargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        RECT client;
        GetClientRect(hwnd, &client);
        g_edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                 WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                                 0, 0, client.right, client.bottom, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)),
                                 reinterpret_cast<LPCREATESTRUCTW>(lParam)->hInstance, nullptr);
        return g_edit ? 0 : -1;
    }
    case WM_SIZE:
        MoveWindow(g_edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        // Activation comes back to the frame; the caret belongs in the edit control.
        SetFocus(g_edit);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == kEditId && HIWORD(wParam) == EN_CHANGE) SaveText();
        return 0;
    case WM_USER:
        SaveText();
        return 1;
    case WM_USER + 1:
        SetWindowTextW(g_edit, L"");
        SaveText();
        return 1;
    case WM_USER + 2:
        SetForegroundWindow(hwnd);
        SetFocus(g_edit);
        return 1;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int Usage() {
    static const char kUsage[] = "usage: zv_target.exe [--title TITLE] [--at X Y] OUTFILE\n";
    return zv::PrintUsage(kUsage);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* title = L"Zarvic Target";
    long long x = 60;
    long long y = 60;
    int i = 1;
    for (; i < argc - 1; ++i) {
        if (lstrcmpW(argv[i], L"--title") == 0) {
            title = argv[++i];
        } else if (lstrcmpW(argv[i], L"--at") == 0 && i + 2 < argc - 1) {
            if (!zv::ParseNumber(argv[i + 1], &x) || !zv::ParseNumber(argv[i + 2], &y)) return Usage();
            i += 2;
        } else {
            return Usage();
        }
    }
    if (i != argc - 1) return Usage();
    g_outFile = argv[i];

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = TargetProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassW(&wc)) return 1;

    HWND hwnd = CreateWindowExW(0, kClassName, title, WS_OVERLAPPEDWINDOW, static_cast<int>(x), static_cast<int>(y),
                                420, 260, nullptr, nullptr, instance, nullptr);
    if (!hwnd) return 1;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    SetForegroundWindow(hwnd);
    SetFocus(g_edit);
    SaveText();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
