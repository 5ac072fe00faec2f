// The tray icon and the tray menu.
#pragma once

#include "platform/platform.h"

#define TRAY_ICON_ID 1
#define TRAY_TIP TEXT("ZarvicEx")
// Asks the main window to put its icon in the notification area again should it be gone;
// a second start sends it before it exits.
#define WM_ADD_TRAY_ICON (WM_USER + 302)
// Tries to add the icon again while the notification area is not ready (at sign-in).
#define TIMER_ID_TRAY_RETRY 128
#define TRAY_RETRY_INTERVAL_MS 2000

// Puts the icon in the notification area unless it is there already. When the area does
// not answer, the retry timer tries again until the icon is in. 1 when it is there.
BOOL AddTrayIcon(HWND hwnd, HINSTANCE hInstance);
BOOL RemoveTrayIcon(HWND hwnd);
void ShowTrayMenu(HWND hwnd);
// Whether a message tells that the taskbar was created anew, so the icon must be added
// again (desktop Explorer's "TaskbarCreated"; never on the device).
int IsTaskbarRestartMessage(UINT message);
