// The device's one screen: its size, the work area the taskbar leaves and its resolution.
#include "wince_platform.h"

static UINT GetScreenDpi(void) {
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(NULL, screen);
    return dpi > 0 ? (UINT)dpi : SCREEN_DEFAULT_DPI;
}

BOOL GetScreenFromPoint(POINT, SCREENINFO* screen) {
    if (!screen) return FALSE;
    SetRect(&screen->rcScreen, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // Without a taskbar the whole screen is free.
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen->rcWork, 0)) screen->rcWork = screen->rcScreen;
    screen->dpi = GetScreenDpi();
    return TRUE;
}
