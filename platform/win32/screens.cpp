// The desktop's monitors: their areas, work areas and resolutions. Functions newer than
// Windows XP are looked up at run time, so that the program starts everywhere.
#include "win32_platform.h"

typedef HRESULT(WINAPI* GetDpiForMonitorFunction)(HMONITOR monitor, int type, UINT* dpiX, UINT* dpiY);
typedef UINT(WINAPI* GetDpiForWindowFunction)(HWND hwnd);
#define EFFECTIVE_DPI 0  // MDT_EFFECTIVE_DPI

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

// A system library comes from System32 only, never from the program's folder or the
// working directory, where anybody may have put a library of that name.
static HMODULE LoadSystemLibrary(LPCWSTR library) {
    HMODULE module = LoadLibraryExW(library, NULL, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without its loader update does not know the flag: the full path serves.
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    WCHAR path[MAX_PATH];
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + wcslen(library) >= MAX_PATH) return NULL;
    wcscat(path, L"\\");
    wcscat(path, library);
    return LoadLibraryExW(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
}

static FARPROC FindFunction(LPCWSTR library, LPCSTR name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadSystemLibrary(library);
    return module ? GetProcAddress(module, name) : NULL;
}

UINT GetSystemDpi(void) {
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(NULL, screen);
    return dpi > 0 ? (UINT)dpi : SCREEN_DEFAULT_DPI;
}

UINT GetWindowDpi(HWND hwnd) {
    static GetDpiForWindowFunction getDpiForWindow =
        (GetDpiForWindowFunction)(void (*)(void))FindFunction(L"user32.dll", "GetDpiForWindow");
    UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
    return dpi > 0 ? dpi : GetSystemDpi();
}

static UINT GetMonitorDpi(HMONITOR monitor) {
    static GetDpiForMonitorFunction getDpiForMonitor =
        (GetDpiForMonitorFunction)(void (*)(void))FindFunction(L"shcore.dll", "GetDpiForMonitor");
    UINT dpiX = 0, dpiY = 0;
    if (getDpiForMonitor && SUCCEEDED(getDpiForMonitor(monitor, EFFECTIVE_DPI, &dpiX, &dpiY)) && dpiY > 0)
        return dpiY;
    return GetSystemDpi();
}

BOOL GetScreenFromPoint(POINT point, SCREENINFO* screen) {
    if (!screen) return FALSE;
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info;
    info.cbSize = sizeof(info);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return FALSE;
    screen->rcScreen = info.rcMonitor;
    screen->rcWork = info.rcWork;
    screen->dpi = GetMonitorDpi(monitor);
    return TRUE;
}
