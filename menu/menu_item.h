// The owner-drawn items of the history menu.
#pragma once

#include "platform/platform.h"

void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item);
void DrawMenuItem(HWND hwnd, WPARAM wParam, DRAWITEMSTRUCT* item);
