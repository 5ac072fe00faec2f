// The texts the history menu shows: an entry's first line, and that line fitted to the
// menu's width.
#include "menu/menu_font.h"
#include "menu/menu_label.h"
#include "menu/menu_text.h"

WCHAR* CopyFirstLine(WCHAR* dst, LPCWSTR src, int count) {
    if (!dst || !src || count < 1) return dst;
    int n = 0;
    while (n < count - 1 && src[n] && !IsLineEnd(src[n])) {
        dst[n] = src[n];
        ++n;
    }
    if (n > 0 && IsPair(src[n - 1], src[n])) --n;
    dst[n] = 0;
    return dst;
}

// How many of the first `length` units of line the label keeps: each unit stays as long as
// the units before it fit in width. One call gives the widths of every prefix.
static int FittingLength(HDC dc, LPCWSTR line, int length, int width) {
    if (length == 0 || width < 0) return 0;
    if (length == 1) return 1;
    int fit = 0;
    SIZE extent = {0, 0};
    if (!GetTextExtentExPointW(dc, line, length - 1, width, &fit, NULL, &extent)) return length;
    return fit + 1;
}

WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize) {
    if (!dst || !src || count < 1) return dst;
    if (tabSize < 1) tabSize = 1;
    HFONT font = UseMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    // A label seldom holds more than a few dozen units: the line is expanded and measured
    // over its first units, and further only while all of them fit.
    int limit = count - 1 < MENU_MEASURE_FIRST_UNITS ? count - 1 : MENU_MEASURE_FIRST_UNITS;
    WCHAR next = 0;
    int length = 0, kept = 0;
    for (;;) {
        length = ExpandLineTabs(dst, limit + 1, src, tabSize, NULL, &next);
        kept = FittingLength(dc, dst, length, width);
        if (kept < length || !next || limit == count - 1) break;
        limit = limit < (count - 1) / 4 ? limit * 4 : count - 1;
    }
    int cut = kept < length;
    // Dots take the place of the last character kept, a pair as a whole; without dots a
    // label ends before a pair it would split.
    int dots = cut && kept >= 2;
    if (dots && IsPair(dst[kept - 2], dst[kept - 1]))
        --kept;
    else if (!dots && kept > 0 && IsPair(dst[kept - 1], cut ? dst[kept] : next))
        --kept;
    int end = kept;
    if (dots) {
        dst[kept - 1] = TEXT('.');
        if (kept < count - 1) dst[end++] = TEXT('.');
        if (kept + 1 < count - 1) dst[end++] = TEXT('.');
    }
    dst[end] = 0;
    if (previous) SelectObject(dc, previous);
    DoneWithMenuFont(font);
    return dst;
}

static int MenuExtent(HDC dc, LPCWSTR text, int length) {
    SIZE extent = {0, 0};
    if (length <= 0 || !GetTextExtentExPointW(dc, text, length, 0, NULL, NULL, &extent)) return 0;
    return extent.cx;
}

WCHAR* FitLabelToRoom(HDC dc, WCHAR* dst, LPCWSTR src, int count, int room, int tabSize) {
    if (!dst || !src || count < 1) return dst;
    HFONT font = UseMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    // A first line that fits whole is shown whole; only a cut one gives room to its dots.
    FitTextToWidth(dc, dst, src, count, 0x3FFFFFFF, tabSize);
    int length = lstrlenW(dst);
    if (MenuExtent(dc, dst, length) > room) {
        FitTextToWidth(dc, dst, src, count, room - MenuExtent(dc, TEXT("..."), 3), tabSize);
        length = lstrlenW(dst);
    }
    // All but the last unit of such a line fit in room less the dots: they stay, and the
    // dots follow them within the label's bound.
    if (length >= 2 && MenuExtent(dc, dst, length) > room) {
        int kept = length - 1;
        if (kept > count - 4) kept = count - 4;
        if (kept > 0 && IsPair(dst[kept - 1], dst[kept])) --kept;
        if (kept < 0) kept = 0;
        int end = kept;
        for (int i = 0; i < 3 && end < count - 1; ++i) dst[end++] = TEXT('.');
        dst[end] = 0;
    }
    if (previous) SelectObject(dc, previous);
    DoneWithMenuFont(font);
    return dst;
}
