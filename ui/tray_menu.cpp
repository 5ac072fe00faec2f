// The tray icon's menu, anchored at the bottom-right corner of the work area.
#include "core/runtime.h"
#include "core/util.h"
#include "ui/tray.h"

// The anchor of the menu's bottom-right corner. When the work area cannot be had, the
// screen's bottom-right corner serves the same purpose.
static POINT FindTrayMenuAnchor() {
    RECT work;
    POINT anchor;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        anchor.x = work.right;
        anchor.y = work.bottom;
    } else {
        anchor.x = GetSystemMetrics(SM_CXSCREEN);
        anchor.y = GetSystemMetrics(SM_CYSCREEN);
    }
    return anchor;
}

void ShowTrayMenu(HWND hwnd) {
    POINT anchor = FindTrayMenuAnchor();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, IDM_SETTING, TEXT("Setting (&S)"));
    AppendMenuW(menu, IsExistingFile(g_szHelpPath) ? MF_STRING : MF_GRAYED, IDM_HELP, TEXT("Help (&H)"));
    AppendMenuW(menu, MF_STRING, IDM_ABOUT, TEXT("About (&A)"));
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, MF_STRING, IDM_EXIT, TEXT("Zarvic 終了 (&X)"));
    AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
    AppendMenuW(menu, MF_STRING, IDM_UNINSTALL, TEXT("Uninstall (&U)"));
    SetForegroundWindow(hwnd);
    int chosen = static_cast<int>(
        TrackPopupMenuWithKeys(menu, TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD, anchor.x, anchor.y, hwnd, NULL));
    if (chosen > 0) PostMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
    PostMessageW(hwnd, WM_NULL, 0, 0);
    if (menu) DestroyMenu(menu);
    // Dismissed, the menu runs no command and so no hide step: give the foreground back
    // instead of keeping it on the hidden main window, which would swallow the next keys.
    if (chosen <= 0) RunHideStep(hwnd);
}
