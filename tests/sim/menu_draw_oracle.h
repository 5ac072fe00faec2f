// The history menu's owner-draw code as it was before a label was fitted with one
// measuring call and the menu font was made once per menu: kept to show that the current
// code draws exactly the same, and to measure what it saves.
#pragma once

#include "platform/platform.h"

namespace oracle {

// Fits by measuring every prefix, making the menu font afresh from the registry.
WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize);
void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item);
void DrawMenuItem(HWND hwnd, WPARAM wParam, DRAWITEMSTRUCT* item);

// A window of the calling program that owns the history menu and hands its owner-draw
// requests to the old code (old = 1) or to the current code, counting the items drawn.
HWND CreateMenuOwner(int old);
extern int g_itemsDrawn;

}  // namespace oracle
