#include "menu/menu_font.h"

#include <string.h>

UINT g_menuDpi = SCREEN_DEFAULT_DPI;
RECT g_menuWorkArea;

int ScaleToMenuDpi(int pixels) {
    if (g_menuDpi == SCREEN_DEFAULT_DPI || g_menuDpi == 0) return pixels;
    return pixels * static_cast<int>(g_menuDpi) / SCREEN_DEFAULT_DPI;
}

// A value shorter than the buffer fills only its own bytes; what follows them is not
// part of it. Numbers are little-endian.
static int ReadFontNumber(HKEY key, LPCWSTR name, LONG* out) {
    BYTE bytes[sizeof(DWORD)];
    DWORD size = sizeof(bytes);
    if (QueryMenuFontValue(key, name, bytes, &size) != ERROR_SUCCESS) return 0;
    DWORD value = 0;
    for (DWORD i = 0; i < size && i < sizeof(bytes); ++i) value |= static_cast<DWORD>(bytes[i]) << (8 * i);
    *out = static_cast<LONG>(value);
    return 1;
}

// A name that fills all 32 units has no terminator, and a font cannot be made from it.
static int ReadFontFaceName(HKEY key, WCHAR* faceName) {
    WCHAR name[LF_FACESIZE] = {0};
    DWORD size = sizeof(name);
    if (QueryMenuFontValue(key, TEXT("Nm"), reinterpret_cast<LPBYTE>(name), &size) != ERROR_SUCCESS)
        return 0;
    DWORD units = size / sizeof(WCHAR);
    if (units < LF_FACESIZE) name[units] = 0;
    int length = 0;
    while (length < LF_FACESIZE && name[length]) ++length;
    if (length == LF_FACESIZE) return 0;
    for (int i = 0; i <= length; ++i) faceName[i] = name[i];
    return 1;
}

int ReadPopupMenuFont(LOGFONTW* font) {
    HKEY key = NULL;
    if (OpenMenuFontRecord(&key) != ERROR_SUCCESS) return 0;
    LONG italic = 0, charSet = 0;
    int read = 0;
    read += ReadFontNumber(key, TEXT("Ht"), &font->lfHeight);
    read += ReadFontNumber(key, TEXT("Wt"), &font->lfWeight);
    if (ReadFontNumber(key, TEXT("It"), &italic)) {
        font->lfItalic = static_cast<BYTE>(italic);
        ++read;
    }
    if (ReadFontNumber(key, TEXT("CS"), &charSet)) {
        font->lfCharSet = static_cast<BYTE>(charSet);
        ++read;
    }
    read += ReadFontFaceName(key, font->lfFaceName);
    CloseMenuFontRecord(key);
    return read == 5;
}

HFONT CreateMenuFont(void) {
    LOGFONTW font;
    memset(&font, 0, sizeof(font));
    if (!ReadPopupMenuFont(&font)) {
        // the system font whole: nothing of an incomplete registry record stays
        memset(&font, 0, sizeof(font));
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    }
    if (g_menuDpi != SCREEN_DEFAULT_DPI && g_menuDpi > 0)
        font.lfHeight = font.lfHeight * static_cast<LONG>(g_menuDpi) / SCREEN_DEFAULT_DPI;
    return CreateFontIndirectW(&font);
}

// The height the menu's rows may fill: its screen's work area, above the taskbar.
static LONG MenuWorkHeight(void) {
    if (g_menuWorkArea.bottom > g_menuWorkArea.top) return g_menuWorkArea.bottom - g_menuWorkArea.top;
    SCREENINFO screen;
    POINT origin = {0, 0};
    if (GetScreenFromPoint(origin, &screen)) return screen.rcWork.bottom - screen.rcWork.top;
    return GetSystemMetrics(SM_CYSCREEN);
}

int GetMenuLinesPerScreen(HWND hwnd) {
    TEXTMETRICW metrics;
    memset(&metrics, 0, sizeof(metrics));
    MENU_MEASURING measuring;
    if (BeginMenuMeasuring(hwnd, &measuring, &metrics)) EndMenuMeasuring(&measuring);
    LONG lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    // Without a line height every pixel row counts as a line: the menu then keeps every
    // entry rather than a capacity that would drop history.
    if (lineHeight <= 0) lineHeight = 1;
    int lines = MenuWorkHeight() / lineHeight;
    return lines > 2 ? lines - 2 : lines;
}
