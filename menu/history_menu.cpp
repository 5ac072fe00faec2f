// Placeholder history menu: shows nothing until the history menu lands.
#include "menu/history_menu.h"

void FindMenuPosition(POINT* anchor) {
    anchor->x = 0;
    anchor->y = 0;
}

void ShowHistoryMenu(HWND, POINT) {}

LRESULT HandleMenuChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, WM_MENUCHAR, wParam, lParam);
}
