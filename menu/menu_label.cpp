// The texts the history menu shows: an entry's first line, and that line fitted to the
// menu's width.
#include "menu/menu_font.h"
#include "menu/menu_item.h"
#include "menu/menu_text.h"

WCHAR* CopyFirstLine(WCHAR* dst, LPCWSTR src, int count) {
    if (!dst || !src || count < 1) return dst;
    int n = 0;
    while (n < count - 1 && src[n] && !IsLineEnd(src[n])) {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = 0;
    return dst;
}

static int WidthOfFirst(HDC dc, LPCWSTR text, int count) {
    SIZE extent = {0, 0};
    GetTextExtentExPointW(dc, text, count, 0, NULL, NULL, &extent);
    return extent.cx;
}

// Puts ch at dst[*length] and keeps it when what was there before it still fits.
static int PlaceFitting(HDC dc, WCHAR* dst, int* length, WCHAR ch, int width) {
    dst[*length] = ch;
    if (WidthOfFirst(dc, dst, *length) > width) return 0;
    ++*length;
    return 1;
}

WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize) {
    HFONT font = CreateMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    if (dst && src && count >= 1) {
        if (tabSize < 1) tabSize = 1;
        int length = 0, cut = 0;
        for (int i = 0; src[i] && length < count - 1 && !cut; ++i) {
            WCHAR ch = src[i];
            if (IsLineEnd(ch)) break;
            if (ch != TEXT('\t')) {
                cut = !PlaceFitting(dc, dst, &length, ch, width);
                continue;
            }
            // the spaces of a tab stop at the label's bound like any other character
            for (int spaces = tabSize - length % tabSize; spaces > 0 && !cut && length < count - 1; --spaces)
                cut = !PlaceFitting(dc, dst, &length, TEXT(' '), width);
        }
        dst[length] = 0;
        if (cut && length >= 2) {
            int end = length;
            dst[length - 1] = TEXT('.');
            if (length < count - 1) dst[end++] = TEXT('.');
            if (length + 1 < count - 1) dst[end++] = TEXT('.');
            dst[end] = 0;
        }
    }
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
    return dst;
}
