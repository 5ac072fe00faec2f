// zv_bare: the least a program must do for what Zarvic does at a key press, the yardstick
// of the Wine latency bench.
//
//   zv_bare.exe menu READYFILE     Ctrl+Alt+C shows a three-item popup menu (TrackPopupMenuEx),
//                                  which closes itself 300 ms after it opened
//   zv_bare.exe paste READYFILE    F9 puts "bare" on the clipboard and sends Ctrl+V
//
// Writes READYFILE once its hot-key is registered, and runs until WM_CLOSE. Exit code 0,
// 1 for bad arguments, 2 when the hot-key cannot be registered.
#include "zv_common.h"

#define HOT_KEY_ID 1
#define CLOSE_MENU_TIMER 1

static bool g_paste;

static void PasteBare(HWND hwnd) {
    static const wchar_t kText[] = L"bare";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(kText));
    if (!block || !OpenClipboard(hwnd)) return;
    memcpy(GlobalLock(block), kText, sizeof(kText));
    GlobalUnlock(block);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event('V', 0, 0, 0);
    keybd_event('V', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
}

static void ShowBareMenu(HWND hwnd) {
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"one");
    AppendMenuW(menu, MF_STRING, 2, L"two");
    AppendMenuW(menu, MF_STRING, 3, L"three");
    SetForegroundWindow(hwnd);
    SetTimer(hwnd, CLOSE_MENU_TIMER, 300, nullptr);
    TrackPopupMenuEx(menu, TPM_RETURNCMD, 200, 150, hwnd, nullptr);
    KillTimer(hwnd, CLOSE_MENU_TIMER);
    DestroyMenu(menu);
}

static LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_HOTKEY:
        if (g_paste)
            PasteBare(hwnd);
        else
            ShowBareMenu(hwnd);
        return 0;
    case WM_TIMER:
        EndMenu();
        return 0;
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int wmain(int argc, wchar_t** argv) {
    static const char kUsage[] = "usage: zv_bare.exe (menu | paste) READYFILE\n";
    if (argc != 3 || (wcscmp(argv[1], L"menu") != 0 && wcscmp(argv[1], L"paste") != 0)) return zv::PrintUsage(kUsage);
    g_paste = wcscmp(argv[1], L"paste") == 0;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ZvBare";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"ZvBare", L"Zarvic Bare", WS_POPUP, 20000, 20000, 10, 10, nullptr,
                                nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 2;
    if (!(g_paste ? RegisterHotKey(hwnd, HOT_KEY_ID, 0, VK_F9)
                  : RegisterHotKey(hwnd, HOT_KEY_ID, MOD_CONTROL | MOD_ALT, 'C')))
        return 2;
    if (!zv::WriteFileAtomically(argv[2], "ready\n")) return 2;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
