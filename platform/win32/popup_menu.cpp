// The popup-menu font key answered from the desktop's menu font, and the menu window
// found by the device's class name.
#include "win32_platform.h"

#undef RegOpenKeyExW
#undef RegQueryValueExW
#undef RegCloseKey
#undef FindWindowW
#undef GetClientRect

#include <stddef.h>
#include <string.h>

#define POPUP_FONT_KEY L"System\\GWE\\Menu\\PopFnt"
// Real registry handles are multiples of 4: this one is never among them.
#define POPUP_FONT_HKEY ((HKEY)(ULONG_PTR)0x5A56F001)
#define MENU_WINDOW_CLASS L"#32768"
#ifndef MN_GETHMENU
#define MN_GETHMENU 0x01E1
#endif

// The menu font of the non-client metrics, in pixels at 96 DPI. The record is asked for without its last
// member, which Windows before Vista does not know.
static int GetDesktopMenuFont(LOGFONTW* font) {
    NONCLIENTMETRICSW metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return 0;
    *font = metrics.lfMenuFont;
    // The device records its font in pixels at 96 DPI, and the program scales it to the
    // screen its menu opens on; Windows reports it at the system's resolution.
    UINT dpi = GetSystemDpi();
    if (dpi != SCREEN_DEFAULT_DPI) font->lfHeight = MulDiv(font->lfHeight, SCREEN_DEFAULT_DPI, (int)dpi);
    return 1;
}

LONG BridgeRegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result) {
    LONG status = RegOpenKeyExW(key, subKey, options, access, result);
    LOGFONTW font;
    if (status == ERROR_FILE_NOT_FOUND && key == HKEY_LOCAL_MACHINE && subKey && result &&
        _wcsicmp(subKey, POPUP_FONT_KEY) == 0 && GetDesktopMenuFont(&font)) {
        *result = POPUP_FONT_HKEY;
        return ERROR_SUCCESS;
    }
    return status;
}

// Hands a value out with the registry's size rules: nothing is copied into a buffer too
// small for it.
static LONG AnswerValue(DWORD valueType, const void* value, DWORD bytes, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (type) *type = valueType;
    if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    if (!data) {
        *size = bytes;
        return ERROR_SUCCESS;
    }
    if (*size < bytes) {
        *size = bytes;
        return ERROR_MORE_DATA;
    }
    memcpy(data, value, bytes);
    *size = bytes;
    return ERROR_SUCCESS;
}

LONG BridgeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    if (key != POPUP_FONT_HKEY) return RegQueryValueExW(key, name, reserved, type, data, size);
    LOGFONTW font;
    if (!name || !GetDesktopMenuFont(&font)) return ERROR_FILE_NOT_FOUND;
    DWORD number;
    if (_wcsicmp(name, L"Ht") == 0)
        number = (DWORD)font.lfHeight;
    else if (_wcsicmp(name, L"Wt") == 0)
        number = (DWORD)font.lfWeight;
    else if (_wcsicmp(name, L"It") == 0)
        number = font.lfItalic;
    else if (_wcsicmp(name, L"CS") == 0)
        number = font.lfCharSet;
    else if (_wcsicmp(name, L"Nm") == 0)
        return AnswerValue(REG_SZ, font.lfFaceName, (DWORD)((wcsnlen(font.lfFaceName, LF_FACESIZE - 1) + 1) * sizeof(WCHAR)),
                           type, data, size);
    else
        return ERROR_FILE_NOT_FOUND;
    return AnswerValue(REG_DWORD, &number, sizeof(number), type, data, size);
}

LONG BridgeRegCloseKey(HKEY key) {
    if (key == POPUP_FONT_HKEY) return ERROR_SUCCESS;
    return RegCloseKey(key);
}

struct MenuWindowSearch {
    HWND visible;
    HWND hidden;
};

static int IsMenuWindow(HWND hwnd) {
    WCHAR name[16];
    return GetClassNameW(hwnd, name, 16) && wcscmp(name, MENU_WINDOW_CLASS) == 0;
}

static BOOL CALLBACK FindThreadMenuWindow(HWND hwnd, LPARAM lParam) {
    MenuWindowSearch* search = (MenuWindowSearch*)lParam;
    if (!IsMenuWindow(hwnd)) return TRUE;
    if (IsWindowVisible(hwnd)) {
        search->visible = hwnd;
        return FALSE;
    }
    if (!search->hidden) search->hidden = hwnd;
    return TRUE;
}

HWND BridgeFindWindow(LPCWSTR className, LPCWSTR title) {
    if (!className || IS_INTRESOURCE(className) || title || _wcsicmp(className, L"MNU") != 0)
        return FindWindowW(className, title);
    MenuWindowSearch search = {NULL, NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindThreadMenuWindow, (LPARAM)&search);
    return search.visible ? search.visible : search.hidden;
}

BOOL BridgeGetClientRect(HWND hwnd, LPRECT rect) {
    if (!GetClientRect(hwnd, rect)) return FALSE;
    if (!IsMenuWindow(hwnd)) return TRUE;
    HMENU menu = (HMENU)SendMessageW(hwnd, MN_GETHMENU, 0, 0);
    RECT item;
    if (!menu || !GetMenuItemRect(hwnd, menu, 0, &item)) return TRUE;
    POINT edge = {item.right, item.top};
    ScreenToClient(hwnd, &edge);
    if (edge.x > rect->left && edge.x <= rect->right) rect->right = edge.x;
    return TRUE;
}
