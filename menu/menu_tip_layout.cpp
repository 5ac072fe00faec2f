// Where the preview tooltip goes: as wide as the widest line and as high as its lines,
// beside the menu and level with the highlighted item, kept in the work area of the menu's
// screen where it can be.
#include "menu/menu_font.h"
#include "menu/menu_text.h"
#include "menu/menu_tip.h"

// In pixels: the preview stands TIP_GAP from the menu, is TIP_MARGINS wider than its widest
// line (its border and margins), and keeps TIP_SCREEN_MARGIN from the work area's left edge.
#define TIP_GAP 4
#define TIP_MARGINS 6
#define TIP_SCREEN_MARGIN 3

// One line of the preview; an empty line measures as a space.
static SIZE MeasureTipLine(HDC dc, LPCWSTR line, int length) {
    SIZE extent = {0, 0};
    if (length == 0) {
        line = TEXT(" ");
        length = 1;
    }
    GetTextExtentExPointW(dc, line, length, 0, NULL, NULL, &extent);
    return extent;
}

int LayoutMenuTip(HWND tipWnd, LPCWSTR text, RECT* out, const RECT* menuRect, const RECT* itemRect) {
    if (!tipWnd || !text || !out || !menuRect || !itemRect) return 0;
    HDC dc = GetDC(tipWnd);
    HFONT font = UseMenuFont();
    HGDIOBJ previous = (dc && font) ? SelectObject(dc, font) : NULL;

    LONG itemHeight = itemRect->bottom - itemRect->top;
    LONG widest = 0, height = 0;
    int lines = 0;
    // Lines end where the painting breaks them: at CR LF, a lone CR or a lone LF. A text
    // that ends in a line end has no empty last line.
    for (int start = 0, i = 0;;) {
        WCHAR ch = text[i];
        if (ch && !IsLineEnd(ch)) {
            ++i;
            continue;
        }
        if (ch || i > start) {
            SIZE line = MeasureTipLine(dc, text + start, i - start);
            if (line.cx > widest) widest = line.cx;
            height += (lines == 0 && itemHeight > line.cy) ? itemHeight : line.cy;
            ++lines;
        }
        if (!ch) break;
        i += (ch == TEXT('\r') && text[i + 1] == TEXT('\n')) ? 2 : 1;
        start = i;
    }

    if (previous) SelectObject(dc, previous);
    DoneWithMenuFont(font);
    if (dc) ReleaseDC(tipWnd, dc);

    // The work area of the menu's own screen bounds the preview: on a desktop with several
    // screens it may lie anywhere, left of or above the primary one too.
    SCREENINFO screen;
    POINT corner = {menuRect->left, menuRect->top};
    RECT work;
    if (GetScreenFromPoint(corner, &screen))
        work = screen.rcWork;
    else
        SetRect(&work, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    out->left = menuRect->right + TIP_GAP;
    out->right = out->left + widest + TIP_MARGINS;
    if (work.right - menuRect->right - TIP_GAP < widest + TIP_MARGINS &&
        menuRect->left - work.left > work.right - menuRect->right) {
        out->right = menuRect->left - TIP_GAP;
        out->left = out->right - widest - TIP_MARGINS;
    }
    if (out->left < work.left) out->left = work.left + TIP_SCREEN_MARGIN;

    out->top = menuRect->top + itemRect->top;
    if (height < itemHeight) height = itemHeight;
    LONG half = (work.bottom - work.top) / 2;
    if (out->top + height > work.bottom && work.bottom - out->top < half)
        out->top = work.bottom - (height < half ? height : half);
    out->bottom = out->top + height + 1;
    return 1;
}
