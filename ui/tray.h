// The tray icon and the tray menu.
#pragma once

#include "platform/platform.h"

#define TRAY_ICON_ID 1
#define TRAY_TIP TEXT("ZarvicEx")

BOOL AddTrayIcon(HWND hwnd, HINSTANCE hInstance);
BOOL RemoveTrayIcon(HWND hwnd);
void ShowTrayMenu(HWND hwnd);
// Whether a message tells that the taskbar was created anew, so the icon must be added
// again (desktop Explorer's "TaskbarCreated"; never on the device).
int IsTaskbarRestartMessage(UINT message);
