// The hidden main window: it owns the tray icon, the hot-key, the poll timer and the
// popup menus, and every message of the system is routed from here.
#include "app/app.h"
#include "core/settings.h"
#include "history/watcher.h"
#include "menu/history_menu.h"
#include "history/hotkey.h"
#include "menu/menu_item.h"
#include "resource_ids.h"
#include "ui/tray.h"

static const WCHAR kStartupHint[] =
    TEXT("タスクトレイの Zarvic アイコンをクリックし\nSetting からホットキーを設定してください");

ATOM RegisterMainWindowClass(HINSTANCE hInstance) {
    WNDCLASSW wc = {};
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_ZARVIC));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = ZARVIC_CLASS_NAME;
    return RegisterClassW(&wc);
}

int CreateMainWindow(HINSTANCE hInstance, int) {
    g_hInstance = hInstance;
    g_hMainWnd =
        CreateToolWindow(0, ZARVIC_CLASS_NAME, ZARVIC_TITLE, WS_POPUP, PARK_X, PARK_Y, 100, 100, hInstance, NULL);
    if (!g_hMainWnd) return 0;
    // The start-up show command (SW_SHOWNORMAL from a shortcut or the Startup folder)
    // would activate a window nobody can type into and take the keyboard from whatever
    // the person was typing in.
    ShowWindow(g_hMainWnd, SW_SHOWNA);
    UpdateWindow(g_hMainWnd);
    SetWindowPos(g_hMainWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return 1;
}

static LRESULT OnCreate(HWND hwnd) {
    AddTrayIcon(hwnd, g_hInstance);
    if (!StartWatching(hwnd)) ShowMessage(hwnd, kStartupHint, MB_OK | MB_ICONINFORMATION);
    WarnIfSettingsCannotBeKept(hwnd);
    return 0;
}

static LRESULT OnDestroy(HWND hwnd) {
    StopWatching(hwnd);
    RemoveTrayIcon(hwnd);
    PostQuitMessage(0);
    return 0;
}

static LRESULT OnTimer(HWND hwnd, WPARAM id) {
    if (id == TIMER_ID_TRAY_RETRY) {
        AddTrayIcon(hwnd, g_hInstance);
        return 0;
    }
    if (id != TIMER_ID_POLL) return 0;
    KillTimer(hwnd, TIMER_ID_POLL);
    PollClipboard(hwnd);
    if (g_hotKeyRegistered) SetTimer(hwnd, TIMER_ID_POLL, POLL_INTERVAL_MS, NULL);
    return 0;
}

static LRESULT OnHotKey(HWND hwnd, WPARAM id) {
    if (id != HOTKEY_ID_HISTORY || g_dialogOpen || g_menuOpen) return 0;
    POINT anchor;
    FindMenuPosition(&anchor);
    g_menuOpen = 1;
    ShowHistoryMenu(hwnd, anchor);
    g_menuOpen = 0;
    return 0;
}

static LRESULT OnOpenTrayMenu(HWND hwnd) {
    if (g_dialogOpen || g_menuOpen) return 0;
    g_menuOpen = 1;
    ShowTrayMenu(hwnd);
    g_menuOpen = 0;
    return 0;
}

LRESULT CALLBACK MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate(hwnd);
    case WM_DESTROY:
        return OnDestroy(hwnd);
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_DRAWITEM:
        DrawMenuItem(hwnd, wParam, reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        MeasureMenuItem(hwnd, reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_COMMAND:
        return HandleMainCommand(hwnd, wParam, lParam);
    case WM_TIMER:
        return OnTimer(hwnd, wParam);
    case WM_MENUCHAR:
        return HandleMenuChar(hwnd, wParam, lParam);
    case WM_HOTKEY:
        return OnHotKey(hwnd, wParam);
    case WM_TRAY_CALLBACK:
        if (IsNotifyIconChoice(lParam)) PostMessageW(hwnd, WM_OPEN_TRAY_MENU, wParam, WM_LBUTTONUP);
        return 0;
    case WM_OPEN_TRAY_MENU:
        return OnOpenTrayMenu(hwnd);
    case WM_ADD_TRAY_ICON:
        AddTrayIcon(hwnd, g_hInstance);
        return 0;
    default:
        if (IsTaskbarRestartMessage(message)) {
            AddTrayIcon(hwnd, g_hInstance);
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
