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

}  // namespace sim
