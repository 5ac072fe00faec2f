// The device's caret, as the rest of the device sees it.
#pragma once

#include "state.h"

namespace sim {

struct CaretState {
    HWND owner = nullptr;      // no caret while null or once the window is gone
    int x = 0, y = 0;          // in the owner's client coordinates
    int width = 0, height = 0;
    bool systemWide = false;   // see SetSystemWideCaret
};

CaretState& Caret();
// Windows CE's GetCaretPos answers only the thread that owns the caret, in that window's
// client coordinates, and fails with ERROR_ACCESS_DENIED for any other thread. While `on`,
// the device answers every program instead, in screen coordinates: a device whose caret
// is system-wide.
void SetSystemWideCaret(bool on);

}  // namespace sim
