// Popup menus as the device presents them: the window an open menu is shown in, where its
// items lie, the keys typed for it, and the record of the font it is drawn in.
#pragma once

// The device's class for the window that shows an open popup menu.
#define DEVICE_MENU_WINDOW_CLASS TEXT("MNU")
// Where, under HKEY_LOCAL_MACHINE, the device records its popup-menu font: "Ht", "Wt",
// "It", "CS" as 4-byte numbers and "Nm", the face name, in pixels at 96 DPI.
#define DEVICE_MENU_FONT_KEY TEXT("System\\GWE\\Menu\\PopFnt")

// The calling thread's popup-menu window, a visible one first; NULL when it has none. On
// the device FindWindowW of its menu class; desktop Windows' menu windows have a class of
// their own, which other programs' menus share.
HWND FindMenuWindow(void);
// The part of a popup-menu window's client area (in client coordinates) its items span,
// from the left edge to where the items end. On the device the whole client area, its
// frame lying outside; desktop Windows draws the frame inside and insets the items by it.
BOOL GetMenuItemArea(HWND menuWindow, LPRECT area);
// TrackPopupMenuEx, with the keys typed from the moment a hot-key fired delivered to the
// menu. On the device and on desktop Windows the keyboard goes to the foreground thread,
// which the menu's owner has become, and this is the plain call; under Wine the desktop
// backend brings the keys to the menu itself (platform/win32/win32_menu_keys.h).
BOOL TrackPopupMenuWithKeys(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);

// The platform's record of its popup-menu font, read as a registry key is: open it for
// reading, query its values by name, close it; each answers as RegOpenKeyExW,
// RegQueryValueExW and RegCloseKey do. On the device those calls on DEVICE_MENU_FONT_KEY.
// Desktop Windows has no such key; where it is absent the record opens all the same and
// answers from the desktop's menu font, read afresh at every query.
LONG OpenMenuFontRecord(HKEY* record);
LONG QueryMenuFontValue(HKEY record, LPCWSTR name, LPBYTE data, LPDWORD size);
LONG CloseMenuFontRecord(HKEY record);
