// The Setting command: the settings dialog with the hot-key and polling stopped around it.
#include "core/runtime.h"
#include "core/settings.h"
#include "menu/hotkey.h"
#include "resource_ids.h"
#include "ui/settings_dialog.h"

void RunSettingCommand(HWND hwnd) {
    UnregisterHistoryHotKey(hwnd);
    KillTimer(hwnd, TIMER_ID_POLL);
    g_dialogOpen = 1;
    // A template that cannot be found leaves the settings as they are, as a cancel would.
    INT_PTR result = RunDialogTemplate(IDD_SETTING, SettingsDlgProc);
    g_dialogOpen = 0;
    g_hotKeyRegistered = RegisterHistoryHotKey(hwnd);
    // A dismissed dialog that leaves no hot-key set (a first start) set nothing, and so
    // nothing failed.
    int named = (g_settings.hotKeyAlt[0] || g_settings.hotKeyCtrl[0] || g_settings.hotKeyShift[0]) &&
                g_settings.hotKeyChar[0][0];
    if (g_hotKeyRegistered)
        SetTimer(hwnd, TIMER_ID_POLL, POLL_INTERVAL_MS, NULL);
    else if (result == IDOK || named)
        ReportHotKeyRefused(hwnd);
    SaveSettings();
    RunHideStep(hwnd);
}
