// The history menu: its placement, construction and keyboard mnemonics.
#pragma once

#include "platform/platform.h"

void FindMenuPosition(POINT* anchor);
void ShowHistoryMenu(HWND hwnd, POINT anchor);
// WM_MENUCHAR of the main window.
LRESULT HandleMenuChar(HWND hwnd, WPARAM wParam, LPARAM lParam);
