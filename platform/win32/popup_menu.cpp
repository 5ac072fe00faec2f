// The popup menus of desktop Windows as the device presents them.
//
// Desktop Windows has no record of its popup-menu font in the registry, as the device has;
// its popup menus draw in the non-client metrics' menu font. Where the device's key is
// absent, the record opens all the same and its five values answer from that font, read
// afresh at every query and given in pixels at 96 DPI, as the device records it; the
// program scales it to the screen its menu opens on.
//
// Desktop Windows shows an open popup menu in a window of class "#32768", and other
// programs' menu windows of that class exist too: the calling thread's own is looked for.
// The device's menu window has its frame outside the client area, so its items span the
// client area's full width; desktop Windows draws the frame inside the client area and
// insets the items by it, so their area ends where the items end.
#include "win32_platform.h"

#include <stddef.h>
#include <string.h>

// Real registry handles are multiples of 4: this one is never among them.
#define POPUP_FONT_HKEY ((HKEY)(ULONG_PTR)0x5A56F001)
#define DESKTOP_MENU_WINDOW_CLASS L"#32768"
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

LONG OpenMenuFontRecord(HKEY* record) {
    LONG status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, DEVICE_MENU_FONT_KEY, 0, KEY_READ, record);
    LOGFONTW font;
    if (status == ERROR_FILE_NOT_FOUND && record && GetDesktopMenuFont(&font)) {
        *record = POPUP_FONT_HKEY;
        return ERROR_SUCCESS;
    }
    return status;
}

// Hands a value out with the registry's size rules: nothing is copied into a buffer too
// small for it.
static LONG AnswerValue(const void* value, DWORD bytes, LPBYTE data, LPDWORD size) {
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

LONG QueryMenuFontValue(HKEY record, LPCWSTR name, LPBYTE data, LPDWORD size) {
    if (record != POPUP_FONT_HKEY) return RegQueryValueExW(record, name, NULL, NULL, data, size);
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
        return AnswerValue(font.lfFaceName, (DWORD)((wcsnlen(font.lfFaceName, LF_FACESIZE - 1) + 1) * sizeof(WCHAR)),
                           data, size);
    else
        return ERROR_FILE_NOT_FOUND;
    return AnswerValue(&number, sizeof(number), data, size);
}

LONG CloseMenuFontRecord(HKEY record) {
    if (record == POPUP_FONT_HKEY) return ERROR_SUCCESS;
    return RegCloseKey(record);
}

struct MenuWindowSearch {
    HWND visible;
    HWND hidden;
};

static int IsMenuWindow(HWND hwnd) {
    WCHAR name[16];
    return GetClassNameW(hwnd, name, 16) && wcscmp(name, DESKTOP_MENU_WINDOW_CLASS) == 0;
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

HWND FindMenuWindow(void) {
    MenuWindowSearch search = {NULL, NULL};
    EnumThreadWindows(GetCurrentThreadId(), FindThreadMenuWindow, (LPARAM)&search);
    return search.visible ? search.visible : search.hidden;
}

BOOL GetMenuItemArea(HWND menuWindow, LPRECT area) {
    if (!GetClientRect(menuWindow, area)) return FALSE;
    if (!IsMenuWindow(menuWindow)) return TRUE;
    HMENU menu = (HMENU)SendMessageW(menuWindow, MN_GETHMENU, 0, 0);
    RECT item;
    if (!menu || !GetMenuItemRect(menuWindow, menu, 0, &item)) return TRUE;
    POINT edge = {item.right, item.top};
    ScreenToClient(menuWindow, &edge);
    if (edge.x > area->left && edge.x <= area->right) area->right = edge.x;
    return TRUE;
}
