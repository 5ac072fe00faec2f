// The device's one caret. It belongs to the window that created it. GetCaretPos answers
// as Windows CE documents it (only the owner's thread, client coordinates) or, on a
// device with a system-wide caret, every program with where it stands on the screen.
#include "caret.h"

namespace sim {

CaretState& Caret() { return PartOf(S().caret); }

void Device::SetSystemWideCaret(bool on) { Caret().systemWide = on; }

}  // namespace sim

using namespace sim;

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    CaretState& c = Caret();
    c.owner = hwnd;
    c.x = c.y = 0;
    c.width = width;
    c.height = height;
    return TRUE;
}

BOOL DestroyCaret() {
    CaretState& c = Caret();
    Window* w = FindWin(c.owner);
    if (!w || w->program != CurrentProgram()) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.owner = nullptr;
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    CaretState& c = Caret();
    Window* w = FindWin(c.owner);
    // The device's own programs run on the device's thread and may move their caret.
    if (!w || (CurrentProgram() && w->program != CurrentProgram())) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    c.x = x;
    c.y = y;
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    CaretState& c = Caret();
    Window* w = FindWin(c.owner);
    if (!point) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (c.systemWide) {
        if (!w) {
            Fail(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        POINT at{c.x, c.y};
        ClientToScreen(c.owner, &at);
        *point = at;
        return TRUE;
    }
    // The device's own programs run on the device's thread (no current program).
    if (!w || (CurrentProgram() && w->program != CurrentProgram())) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *point = POINT{c.x, c.y};
    return TRUE;
}
