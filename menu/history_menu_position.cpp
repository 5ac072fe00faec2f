// Where the history menu opens: at the caret of the foreground application, or centred
// over its client area when no caret position is available.
#include "core/util.h"
#include "menu/history_menu.h"

// The rectangle to centre on when there is no caret: the foreground window's client area
// in screen coordinates; without a foreground window, the work area; failing that, the
// whole screen.
static void FindCentringRect(RECT* r) {
    HWND foreground = GetForegroundWindow();
    if (foreground && GetClientRect(foreground, r)) {
        ClientRectToScreen(foreground, r);
        return;
    }
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, r, 0)) return;
    SetRect(r, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void FindMenuPosition(POINT* anchor) {
    // Windows CE reports a caret only to the thread that owns it: on such a device this
    // fails for another program's caret, and the menu is centred over its window.
    if (GetForegroundCaretPos(anchor)) return;
    RECT r;
    FindCentringRect(&r);
    int width = r.right - r.left;
    int height = r.bottom - r.top;
    POINT p;
    p.x = r.left + width / 2 - g_menuSize.cx / 2;
    p.y = r.top + height / 2 - g_menuSize.cy / 2;
    if (p.x < r.left + MENU_ANCHOR_MARGIN) p.x = r.left + MENU_ANCHOR_MARGIN;
    if (p.y < r.top + MENU_ANCHOR_MARGIN) p.y = r.top + MENU_ANCHOR_MARGIN;
    if (!PtInRect(&r, p)) {
        p.x = r.left + width / 2;
        p.y = r.top + height / 2;
    }
    *anchor = p;
}
