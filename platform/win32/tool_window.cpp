// Tool windows without a taskbar button. A top-level window with WS_EX_TOOLWINDOW has no
// taskbar button on the device or on desktop Windows, where CreateWindowExW is the plain
// call. Wine's taskbar shows one for every visible top-level window that has no owner,
// tool windows included. Under Wine the backend creates such a window owned by a hidden
// window of its own; an owned window has no button on either taskbar. The hidden owner
// is never shown, so it is never activated in the owned window's place either.
#include "win32_platform.h"
#include "win32_wine.h"

static HWND g_hiddenOwner;

static HWND GetHiddenOwner(HINSTANCE instance) {
    if (!g_hiddenOwner || !IsWindow(g_hiddenOwner))
        g_hiddenOwner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", NULL, WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                        instance, NULL);
    return g_hiddenOwner;
}

HWND CreateToolWindow(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                      int height, HINSTANCE instance, LPVOID param) {
    // The program's first window is its main window: the backend's start-up.
    StartMenuKeys();
    HWND owner = IsRunningUnderWine() ? GetHiddenOwner(instance) : NULL;
    return CreateWindowExW(exStyle | WS_EX_TOOLWINDOW, className, title, style, x, y, width, height, owner, NULL,
                           instance, param);
}
