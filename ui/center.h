// Centring a window on the whole screen.
#pragma once

#include "platform/platform.h"

// Moves the window so that it sits in the middle of the screen (not of the work area),
// keeping its size and asking for no repaint.
void CenterWindowOnScreen(HWND hwnd);
