// The project's operations as the device has them: its plain Win32 calls. The device's
// image and the simulated device both build this file; the desktop's own versions are in
// platform/win32.
#include "platform/platform.h"

HWND FindMenuWindow(void) { return FindWindowW(DEVICE_MENU_WINDOW_CLASS, NULL); }

BOOL GetMenuItemArea(HWND menuWindow, LPRECT area) { return GetClientRect(menuWindow, area); }

BOOL TrackPopupMenuWithKeys(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, params);
}

LONG OpenMenuFontRecord(HKEY* record) {
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, DEVICE_MENU_FONT_KEY, 0, KEY_READ, record);
}

LONG QueryMenuFontValue(HKEY record, LPCWSTR name, LPBYTE data, LPDWORD size) {
    return RegQueryValueExW(record, name, NULL, NULL, data, size);
}

LONG CloseMenuFontRecord(HKEY record) { return RegCloseKey(record); }

BOOL GetForegroundCaretPos(LPPOINT point) { return GetCaretPos(point); }

void SendKeyToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) { keybd_event(vk, scan, flags, extraInfo); }

HWND CreateToolWindow(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                      int height, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(exStyle | WS_EX_TOOLWINDOW, className, title, style, x, y, width, height, NULL, NULL,
                           instance, param);
}

INT_PTR DialogBoxFitted(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                        LPARAM param) {
    return DialogBoxIndirectParamW(instance, dialogTemplate, owner, proc, param);
}
