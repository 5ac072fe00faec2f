// Placeholder item drawing until the owner-drawn items land.
#include "menu/menu_item.h"

void MeasureMenuItem(HWND, MEASUREITEMSTRUCT*) {}
void DrawMenuItem(HWND, WPARAM, DRAWITEMSTRUCT*) {}
