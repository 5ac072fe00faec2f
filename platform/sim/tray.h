// The notification area, as tests and the rest of the device see it.
#pragma once

#include "state.h"

namespace sim {

struct TrayIcon {
    HWND hwnd = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    std::u16string tip;
    bool hasIcon = false;
    int iconWidth = 0;
};

struct TrayState {
    std::vector<TrayIcon> icons;
    bool stopped = false;
};

TrayState& Tray();

// The icons in the notification area, in the order they were added.
const std::vector<TrayIcon>& TrayIcons();
// Taps an icon as a person would: its window is sent the icon's callback message with
// WM_LBUTTONDOWN, then with WM_LBUTTONUP. Runs the device until it is idle. Returns
// false when there is no such icon.
bool TapTrayIcon(UINT id);
bool TapTrayIconWithTip(const std::u16string& tip);
// The taskbar starts anew (as when the desktop shell restarts): every icon is gone, and
// every top-level window receives the registered message "TaskbarCreated".
void RestartTaskbar();
// The taskbar is not there (not yet started at sign-in, or gone): every icon is gone and
// Shell_NotifyIcon fails until StartTaskbar.
void StopTaskbar();
// The taskbar is there again; with `announce`, "TaskbarCreated" goes to every top-level
// window as in RestartTaskbar, otherwise nobody is told.
void StartTaskbar(bool announce);

}  // namespace sim
