// The history menu: its placement, construction and keyboard mnemonics, and the measures
// it shares with the item drawing.
#pragma once

#include "platform/platform.h"

#define MNEMONIC_RECORD_CODES 45    // one code per menu position
#define MNEMONIC_TABLE_RECORDS 2    // the open menu's record and the zero record that ends the table
#define MNEMONIC_NONE (-1)          // the code of an item without a mnemonic
#define MNEMONIC_CLEAR_CANCEL 67    // 'C', the mnemonic of "Clear Clipboard" and "CANCEL"

#define MENU_SIZE_INITIAL_WIDTH 120
#define MENU_SIZE_INITIAL_HEIGHT 50
#define MENU_ANCHOR_MARGIN 8

// One open menu's mnemonics. codes[k] is the character (an ASCII digit or upper-case
// letter) that picks position positions[k], MNEMONIC_NONE for an item without one, and 0
// after the last item. A record whose hMenu is 0 ends the table.
struct MNEMONIC_RECORD {
    HMENU hMenu;
    LONG codes[MNEMONIC_RECORD_CODES];
    LONG positions[MNEMONIC_RECORD_CODES];
};

// Zero-filled, MNEMONIC_TABLE_RECORDS records long; exists only while a history menu is up.
extern MNEMONIC_RECORD* g_mnemonicTable;
// The position the last mnemonic lookup returned, or -1.
extern int g_lastMnemonicMatch;
// The remembered menu size: the item drawing keeps the right edge of the last item drawn
// in cx; cy never changes. Placement without a caret centres the menu by it.
extern SIZE g_menuSize;
// Measured in the menu font at each menu build: the width of sixteen capital A, and the
// width of "W" plus 4.
extern int g_maxItemWidth;
extern int g_mnemonicColumnWidth;

// Fills anchor with the menu's top-left corner in screen coordinates: the caret of the
// foreground application, or a point centred over its client area.
void FindMenuPosition(POINT* anchor);
// Builds the history menu, tracks it at anchor and posts the chosen command to hwnd.
// Returns after the menu has closed.
void ShowHistoryMenu(HWND hwnd, POINT anchor);
// The index of the record that describes menu, or -1 when the table is absent or holds
// no record for it.
int FindMnemonicRecord(const MNEMONIC_RECORD* table, HMENU menu);
// The menu position that character ch picks in record `record`, or -1. Letters match
// regardless of case; repeated lookups of a shared key cycle through its items.
int MatchMnemonic(const MNEMONIC_RECORD* table, int record, WCHAR ch);
// WM_MENUCHAR of the main window.
LRESULT HandleMenuChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
