// The notification-area icon of the main window.
#include <string.h>

#include "core/runtime.h"
#include "resource_ids.h"
#include "ui/tray.h"

// Whether the retry timer runs.
static int g_trayRetryArmed;

static void FillNotifyRecord(NOTIFYICONDATAW* record, HWND hwnd) {
    memset(record, 0, sizeof(*record));
    record->cbSize = sizeof(*record);
    record->hWnd = hwnd;
    record->uID = TRAY_ICON_ID;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = WM_TRAY_CALLBACK;
}

BOOL AddTrayIcon(HWND hwnd, HINSTANCE hInstance) {
    // The notification area shows small icons at the screen's resolution; an image of
    // that size is taken from the icon rather than one scaled from 16 pixels.
    int size = GetSystemMetrics(SM_CXSMICON);
    if (size <= 0) size = 16;
    HICON icon = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(IDI_ZARVIC), IMAGE_ICON, size, size, 0));
    NOTIFYICONDATAW record;
    FillNotifyRecord(&record, hwnd);
    record.hIcon = icon;
    wcscpy(record.szTip, TRAY_TIP);
    // An add the shell answered late may have taken all the same; the icon is then there to
    // be modified.
    BOOL shown = Shell_NotifyIcon(NIM_ADD, &record) || Shell_NotifyIcon(NIM_MODIFY, &record);
    if (icon) DestroyIcon(icon);
    if (shown) EnableNotifyIconKeys(&record);
    if (shown && g_trayRetryArmed) {
        KillTimer(hwnd, TIMER_ID_TRAY_RETRY);
        g_trayRetryArmed = 0;
    } else if (!shown && !g_trayRetryArmed) {
        g_trayRetryArmed = SetTimer(hwnd, TIMER_ID_TRAY_RETRY, TRAY_RETRY_INTERVAL_MS, NULL) != 0;
    }
    return shown;
}

BOOL RemoveTrayIcon(HWND hwnd) {
    if (g_trayRetryArmed) {
        KillTimer(hwnd, TIMER_ID_TRAY_RETRY);
        g_trayRetryArmed = 0;
    }
    NOTIFYICONDATAW record;
    FillNotifyRecord(&record, hwnd);
    return Shell_NotifyIcon(NIM_DELETE, &record);
}

int IsTaskbarRestartMessage(UINT message) {
    static UINT taskbarCreated;
    if (!taskbarCreated) taskbarCreated = RegisterWindowMessageW(TEXT("TaskbarCreated"));
    return taskbarCreated != 0 && message == taskbarCreated;
}
