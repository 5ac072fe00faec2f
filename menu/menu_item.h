// The owner-drawn items of the history menu: a mnemonic column and the first line of each
// entry, cut to the menu's width.
#pragma once

#include "menu/menu_label.h"
#include "platform/platform.h"

// The items' layout in pixels at 96 dpi, scaled to the menu's screen. The mnemonic column
// starts MENU_MNEMONIC_INSET into the item and is as much wider than a "W"; an entry's label
// follows it after MENU_LABEL_GAP; "Clear Clipboard" and "CANCEL" start at
// MENU_PLAIN_LABEL_INSET.
#define MENU_MNEMONIC_INSET 4
#define MENU_LABEL_GAP 6
#define MENU_PLAIN_LABEL_INSET 8

void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item);
void DrawMenuItem(HWND hwnd, WPARAM wParam, DRAWITEMSTRUCT* item);
