// CreateWindowExW that gives an unowned top-level tool window a hidden owner.
#include "win32_platform.h"

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
    if ((exStyle & WS_EX_TOOLWINDOW) && !parent && !(style & WS_CHILD)) parent = GetHiddenOwner(instance);
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}
