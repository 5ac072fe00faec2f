// Invalidation and painting: the update region of a window and the paint cycle.
#include "dc.h"
#include "gdi.h"

namespace sim {

// The default erasing of a window: its client area in the class's background brush.
LRESULT EraseBackground(HWND hwnd, HDC dc) {
    Window* w = FindWin(hwnd);
    if (!w || !FindDc(dc)) return 0;
    auto it = S().classes.find(Lower(w->className));
    if (it == S().classes.end() || !it->second.wc.hbrBackground) return 0;
    RECT all = DrawableArea(hwnd);
    return FillRect(dc, &all, it->second.wc.hbrBackground) ? 1 : 0;
}

}  // namespace sim

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
    HDC dc = OpenDc(hwnd, true);
    paint->hdc = dc;
    paint->fErase = w->erase ? TRUE : FALSE;
    if (w->erase) {
        w->erase = false;
        if (CallWindow(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0)) paint->fErase = FALSE;
    }
    w = FindWin(hwnd);
    if (!w) {
        CloseDc(dc);
        paint->hdc = nullptr;
        return nullptr;
    }
    w->invalid = false;
    GetClientRect(hwnd, &paint->rcPaint);
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    if (!paint || !paint->hdc) return FALSE;
    DeviceContext* ctx = FindDc(paint->hdc);
    if (!ctx || !ctx->paint) {
        ReportGdiMisuse("EndPaint of a context that BeginPaint did not hand out", paint->hdc);
        return FALSE;
    }
    CloseDc(paint->hdc);
    return TRUE;
}
