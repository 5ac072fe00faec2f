// CreateWindowExW that, under Wine, gives an unowned top-level tool window a hidden owner.
#include "win32_platform.h"
#include "win32_wine.h"

#undef CreateWindowExW

static HWND g_hiddenOwner;

static HWND GetHiddenOwner(HINSTANCE instance) {
    if (!g_hiddenOwner || !IsWindow(g_hiddenOwner))
        g_hiddenOwner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", NULL, WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                                        instance, NULL);
    return g_hiddenOwner;
}

HWND CreateToolWindowOwned(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    int unownedTool = (exStyle & WS_EX_TOOLWINDOW) && !parent && !(style & WS_CHILD);
    // The program's first window is its main window: the backend's start-up.
    if (unownedTool) StartMenuKeys();
    if (unownedTool && IsRunningUnderWine()) parent = GetHiddenOwner(instance);
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}
