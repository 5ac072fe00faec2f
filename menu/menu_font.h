// The menu font, in which the history menu and its preview measure and draw their text:
// the platform's popup-menu font as its registry records it, or the system font.
#pragma once

#include "platform/platform.h"

// The resolution the menu font is made for: that of the screen the history menu opens on.
// The registry records the font in pixels at SCREEN_DEFAULT_DPI.
extern UINT g_menuDpi;
// The work area of that screen, which bounds how many rows the menu has; empty outside a
// menu, when the primary screen's counts.
extern RECT g_menuWorkArea;
// A distance in pixels at SCREEN_DEFAULT_DPI, as g_menuDpi scales it.
int ScaleToMenuDpi(int pixels);

// Creates the menu font afresh from the registry, scaled to g_menuDpi; the caller deletes it.
HFONT CreateMenuFont(void);
// While the history menu is open, its measuring is set up once: the menu font, and a
// context of the menu's owner window with that font selected. OpenMenuMeasuring sets it
// up as the menu is built; CloseMenuMeasuring, after the menu has closed, lets it go.
void OpenMenuMeasuring(HWND hwnd);
void CloseMenuMeasuring(void);
// The menu font to measure or draw with: the open menu's, or outside a menu one made
// afresh. Hand it back with DoneWithMenuFont, which deletes only a font made afresh.
HFONT UseMenuFont(void);
void DoneWithMenuFont(HFONT font);
// A context of a window with the menu font selected, as BeginMenuMeasuring hands it out.
struct MENU_MEASURING {
    HWND hwnd;
    HDC dc;
    HGDIOBJ previous;  // the font EndMenuMeasuring puts back
    HFONT font;        // the font EndMenuMeasuring deletes, when it was made for this measuring
};
// Fills measuring with a context of hwnd in the menu font; metrics (when given) receives
// the text metrics of the context's own font, as they were before the menu font went
// in. Returns measuring->dc, 0 when hwnd has no context. EndMenuMeasuring hands it back.
HDC BeginMenuMeasuring(HWND hwnd, MENU_MEASURING* measuring, TEXTMETRICW* metrics);
void EndMenuMeasuring(MENU_MEASURING* measuring);
// Fills lfHeight, lfWeight, lfItalic, lfCharSet and lfFaceName from the popup-menu font's
// registry values. 1 only when the key opened and all five values were read whole.
int ReadPopupMenuFont(LOGFONTW* font);
// The width in pixels of text in the menu font, measured in hwnd's device context.
int GetMenuTextWidth(HWND hwnd, LPCWSTR text);
// How many menu lines fit in the menu's work area, each as high as the items are measured
// (BeginMenuMeasuring's metrics), less two when more than two fit.
int GetMenuLinesPerScreen(HWND hwnd);
