// The popup menus of desktop Windows as the device presents them.
//
// The device records its popup-menu font under HKEY_LOCAL_MACHINE\System\GWE\Menu\PopFnt
// ("Ht", "Wt", "It", "CS" as 4-byte numbers and "Nm", the face name). Desktop Windows has
// no such key; its popup menus draw in the non-client metrics' menu font. Where the key
// is absent, opening it succeeds and its five values answer from that font, read afresh
// at every query and given in pixels at 96 DPI, as the device records it; the program
// scales it to the screen its menu opens on. Every other key goes to the real registry.
//
// The device shows an open popup menu in a window of class "MNU"; desktop Windows uses
// "#32768", and other programs' menu windows of that class exist too. Looking for "MNU"
// finds the calling thread's own menu window, a visible one first. The device's menu
// window has its frame outside the client area, so its items span the client area's
// full width; desktop Windows draws the frame inside the client area and insets the items
// by it. The client rectangle of a menu window therefore ends where its items end, as on
// the device.
#pragma once

#include <windows.h>

LONG BridgeRegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG BridgeRegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG BridgeRegCloseKey(HKEY key);
HWND BridgeFindWindow(LPCWSTR className, LPCWSTR title);
BOOL BridgeGetClientRect(HWND hwnd, LPRECT rect);

#define RegOpenKeyExW BridgeRegOpenKeyEx
#define RegQueryValueExW BridgeRegQueryValueEx
#define RegCloseKey BridgeRegCloseKey
#define FindWindowW BridgeFindWindow
#define GetClientRect BridgeGetClientRect
