// Zarvic's entry point: one instance, its paths and settings, the main window and the
// message loop.
#include "app/app.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/menu_tip.h"
#include "ui/tray.h"

HANDLE AcquireInstanceMutex(LPCWSTR name) {
    HANDLE mutex = CreateMutexW(NULL, FALSE, name);
    if (!mutex) return NULL;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return NULL;
    }
    return mutex;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nShowCmd) {
    HANDLE mutex = AcquireInstanceMutex(ZARVIC_MUTEX_NAME);
    if (!mutex) {
        // A person who starts Zarvic again may be looking for an icon the notification area
        // lost: the running copy puts it back, and this one still shows nothing.
        HWND running = FindWindowW(ZARVIC_CLASS_NAME, NULL);
        if (running) PostMessageW(running, WM_ADD_TRAY_ICON, 0, 0);
        return 0;
    }

    DerivePaths(hInstance);
    ApplyDefaultSettings();
    LoadSettings();

    if (!RegisterMainWindowClass(hInstance) || !CreateMainWindow(hInstance, nShowCmd)) {
        CloseHandle(mutex);
        return 0;
    }

    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, NULL, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }

    FreeHistory();
    FreeMenuTipText();
    if (!g_uninstalled) SaveSettings();
    CloseHandle(mutex);
    return got == -1 ? 0 : static_cast<int>(msg.wParam);
}
