// The history menu's measuring as it was before a label was fitted with one measuring call
// and the menu font was made once per menu: kept to show that the current code fits and
// sizes the items exactly the same, and to measure what it saves.
#pragma once

#include "platform/platform.h"

namespace oracle {

// Fits by measuring every prefix, making the menu font afresh from the registry.
WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize);
void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item);

// A window of the calling program that owns the history menu, measures its items with the
// old code (old = 1) or the current code, draws them with the current code and counts them.
HWND CreateMenuOwner(int old);
extern int g_itemsDrawn;

}  // namespace oracle
