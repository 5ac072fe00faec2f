// The notification-area icon of the main window.
#include <string.h>

#include "core/runtime.h"
#include "resource_ids.h"
#include "ui/tray.h"

static void FillNotifyRecord(NOTIFYICONDATAW* record, HWND hwnd) {
    memset(record, 0, sizeof(*record));
    record->cbSize = sizeof(*record);
    record->hWnd = hwnd;
    record->uID = TRAY_ICON_ID;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = WM_TRAY_CALLBACK;
}

BOOL AddTrayIcon(HWND hwnd, HINSTANCE hInstance) {
    HICON icon = static_cast<HICON>(LoadImageW(hInstance, MAKEINTRESOURCEW(IDI_ZARVIC), IMAGE_ICON, 16, 16, 0));
    NOTIFYICONDATAW record;
    FillNotifyRecord(&record, hwnd);
    record.hIcon = icon;
    wcscpy(record.szTip, TRAY_TIP);
    BOOL result = Shell_NotifyIcon(NIM_ADD, &record);
    if (icon) DestroyIcon(icon);
    return result;
}

BOOL RemoveTrayIcon(HWND hwnd) {
    NOTIFYICONDATAW record;
    FillNotifyRecord(&record, hwnd);
    return Shell_NotifyIcon(NIM_DELETE, &record);
}

int IsTaskbarRestartMessage(UINT message) {
    static UINT taskbarCreated;
    if (!taskbarCreated) taskbarCreated = RegisterWindowMessageW(TEXT("TaskbarCreated"));
    return taskbarCreated != 0 && message == taskbarCreated;
}
