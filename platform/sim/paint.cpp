// Invalidation and painting: the update region of a window and the paint cycle.
#include "state.h"

using namespace sim;

BOOL InvalidateRect(HWND hwnd, const RECT*, BOOL erase) {
    Window* w = FindWin(hwnd);
    if (!w) return FALSE;
    if (w->visible) {
        w->invalid = true;
        w->erase = w->erase || erase;
        S().generation++;
    }
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT*) {
    Window* w = FindWin(hwnd);
    if (!w) return FALSE;
    w->invalid = false;
    return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
    Window* w = FindWin(hwnd);
    if (!w || !paint) return nullptr;
    *paint = PAINTSTRUCT{};
    paint->fErase = w->erase ? TRUE : FALSE;
    if (w->erase) {
        w->erase = false;
        HDC dc = GetDC(hwnd);
        if (CallWindow(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) paint->fErase = FALSE;
        ReleaseDC(hwnd, dc);
    }
    w = FindWin(hwnd);
    if (!w) return nullptr;
    w->invalid = false;
    GetClientRect(hwnd, &paint->rcPaint);
    paint->hdc = GetDC(hwnd);
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc) ReleaseDC(hwnd, paint->hdc);
    return TRUE;
}
