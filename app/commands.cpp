// The commands the popup menus post back to the main window.
#include "app/app.h"
#include "core/util.h"
#include "history/paste.h"
#include "resource_ids.h"
#include "ui/about.h"
#include "ui/settings_dialog.h"
#include "ui/uninstall.h"

static void RunAboutCommand(HWND hwnd) {
    g_dialogOpen = 1;
    RunDialogTemplate(IDD_ABOUT, AboutDlgProc);
    g_dialogOpen = 0;
    RunHideStep(hwnd);
}

static void RunHelpCommand(HWND hwnd) {
    if (IsExistingFile(g_szHelpPath)) OpenWithShell(hwnd, g_szHelpPath, NULL);
}

static void RunUninstallCommand(HWND hwnd) {
    BOOL done = IsInstalledCopy(g_szExeDir) ? UninstallInstalledCopy(hwnd) : UninstallLooseCopy(hwnd);
    if (done) {
        g_uninstalled = 1;
        PostMessageW(hwnd, WM_COMMAND, IDM_EXIT, 0);
    }
}

LRESULT HandleMainCommand(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    WORD id = LOWORD(wParam);
    if (id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST) {
        RunHistoryCommand(hwnd, id - IDM_HISTORY_FIRST);
        return 0;
    }
    switch (id) {
    case IDM_CLEAR:
        RunClearCommand(hwnd);
        return 0;
    case IDM_ABOUT:
        RunAboutCommand(hwnd);
        return 0;
    case IDM_EXIT:
        DestroyWindow(hwnd);
        return 0;
    case IDM_CANCEL:
        RunHideStep(hwnd);
        return 0;
    case IDM_SETTING:
        RunSettingCommand(hwnd);
        return 0;
    case IDM_HELP:
        RunHelpCommand(hwnd);
        return 0;
    case IDM_UNINSTALL:
        RunUninstallCommand(hwnd);
        return 0;
    default:
        return DefWindowProcW(hwnd, WM_COMMAND, wParam, lParam);
    }
}
