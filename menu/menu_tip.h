// The preview tooltip: a topmost window beside the history menu that shows the whole
// text of the highlighted entry while the tooltip setting is on.
#pragma once

#include "platform/platform.h"

#define MENU_TIP_CLASS TEXT("Zarvic_MenuTip")
#define TIMER_ID_MENU_TIP 127
#define MENU_TIP_INTERVAL_MS 100
// Out of sight without being hidden: parked far off the screen, still shown and topmost.
#define MENU_TIP_PARK_X 21000
#define MENU_TIP_PARK_Y 21000
#define MENU_TIP_PARK_WIDTH 200
#define MENU_TIP_PARK_HEIGHT 100
// The preview holds at most 1024 characters and its terminator.
#define MENU_TIP_TEXT_UNITS 1025
#define MENU_TIP_TAB_SIZE 4

extern HWND g_hMenuTipWnd;        // 0 when there is none
extern HWND g_hTrackedMenuWnd;    // the menu window the tooltip was last shown beside
extern WCHAR* g_pszMenuTipText;   // the prepared preview, owned here; 0 when none
extern UINT g_menuTipItemId;      // command id of the entry last previewed; 0 when none

ATOM RegisterMenuTipClass(HINSTANCE hInstance);
HWND CreateMenuTipWindow(HWND owner, HINSTANCE hInstance);
// Registers the class and creates the tooltip, parked; the history menu calls it before
// it tracks the menu when the tooltip setting is on.
void CreateMenuTip(void);
// Destroys the tooltip and unregisters its class, when there is a tooltip.
void DestroyMenuTip(void);
// Releases the preview text; the program calls it as it ends.
void FreeMenuTipText(void);
// Follows the highlight: called for every item the menu draws, before it is painted.
void UpdateMenuTip(const DRAWITEMSTRUCT* item, HWND menuWnd);
// Places the tooltip for text beside the menu (screen coordinates), level with the item
// (the menu's client coordinates). 0, with out untouched, without a window or a text.
int LayoutMenuTip(HWND tipWnd, LPCWSTR text, RECT* out, const RECT* menuRect, const RECT* itemRect);
LRESULT CALLBACK MenuTipWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Characters before the terminator, at most bound; 0 for no text.
int CountChars(LPCWSTR text, int bound);
// Tabs among the first min(length, bound) characters; 0 for no text.
int CountTabs(LPCWSTR text, int bound);
// Copies src into dst (dstCount units, always terminated) with each tab turned into the
// spaces up to the next multiple of tabSize columns; every line end starts the column
// count again.
void ExpandTabs(WCHAR* dst, int dstCount, LPCWSTR src, int tabSize);
