// The menu font, in which the history menu and its preview measure and draw their text:
// the platform's popup-menu font as its registry records it, or the system font.
#pragma once

#include "platform/platform.h"

#define POPUP_FONT_KEY TEXT("System\\GWE\\Menu\\PopFnt")

// The resolution the menu font is made for: that of the screen the history menu opens on.
// The registry records the font in pixels at SCREEN_DEFAULT_DPI.
extern UINT g_menuDpi;

// Creates the menu font afresh from the registry, scaled to g_menuDpi; the caller deletes it.
HFONT CreateMenuFont(void);
// Fills lfHeight, lfWeight, lfItalic, lfCharSet and lfFaceName from the popup-menu font's
// registry values. 1 only when the key opened and all five values were read whole.
int ReadPopupMenuFont(LOGFONTW* font);
// The width in pixels of text in the menu font, measured in hwnd's device context.
int GetMenuTextWidth(HWND hwnd, LPCWSTR text);
// How many menu lines fit on the screen in the height of hwnd's default font, less two
// when more than two fit.
int GetMenuLinesPerScreen(HWND hwnd);
