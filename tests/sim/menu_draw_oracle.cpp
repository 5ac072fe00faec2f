#include "menu_draw_oracle.h"

#include <string.h>

#include "core/runtime.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu/menu_font.h"
#include "menu/menu_item.h"
#include "menu/menu_text.h"

namespace oracle {

int g_itemsDrawn;

static int MenuTextWidth(HWND hwnd, LPCWSTR text) {
    HDC dc = GetDC(hwnd);
    if (!dc) return 0;
    HFONT font = CreateMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    SIZE extent = {0, 0};
    if (!GetTextExtentExPointW(dc, text, lstrlenW(text), 0, NULL, NULL, &extent)) extent.cx = 0;
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
    ReleaseDC(hwnd, dc);
    return extent.cx;
}

// Puts ch at dst[*length] and keeps it when what was there before it still fits.
static int PlaceFitting(HDC dc, WCHAR* dst, int* length, WCHAR ch, int width) {
    dst[*length] = ch;
    SIZE extent = {0, 0};
    GetTextExtentExPointW(dc, dst, *length, 0, NULL, NULL, &extent);
    if (extent.cx > width) return 0;
    ++*length;
    return 1;
}

WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize) {
    HFONT font = CreateMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    if (dst && src && count >= 1) {
        if (tabSize < 1) tabSize = 1;
        int length = 0, cut = 0;
        WCHAR next = 0;  // the unit after the last one placed
        for (int i = 0; src[i] && !IsLineEnd(src[i]) && !next; ++i) {
            WCHAR ch = src[i];
            int spaces = ch == TEXT('\t') ? tabSize - length % tabSize : 1;
            for (; spaces > 0 && !cut && length < count - 1; --spaces)
                cut = !PlaceFitting(dc, dst, &length, ch == TEXT('\t') ? TEXT(' ') : ch, width);
            if (cut || spaces > 0) next = ch == TEXT('\t') ? TEXT(' ') : ch;
        }
        dst[length] = 0;
        if (cut && length >= 2) {
            if (IsPair(dst[length - 2], dst[length - 1])) dst[--length] = 0;
            int end = length;
            dst[length - 1] = TEXT('.');
            if (length < count - 1) dst[end++] = TEXT('.');
            if (length + 1 < count - 1) dst[end++] = TEXT('.');
            dst[end] = 0;
        } else if (length > 0 && IsPair(dst[length - 1], next)) {
            dst[--length] = 0;
        }
    }
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
    return dst;
}

static int IsHistoryItem(UINT id) { return id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST; }

void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item) {
    HDC dc = GetDC(hwnd);
    if (!dc) return;
    WCHAR label[MENU_LABEL_UNITS];
    label[0] = 0;
    const WCHAR* text = label;
    if (item->itemID == IDM_CANCEL)
        text = TEXT("CANCEL");
    else if (item->itemID == IDM_CLEAR)
        text = TEXT("Clear Clipboard");
    else if (IsHistoryItem(item->itemID))
        // labels are measured as they are drawn
        ::FitLabelToRoom(dc, label, g_historySlots[item->itemID - IDM_HISTORY_FIRST], MENU_LABEL_UNITS,
                         g_maxItemWidth - g_mnemonicColumnWidth - 6, MENU_LABEL_TAB_SIZE);
    TEXTMETRICW metrics;
    memset(&metrics, 0, sizeof(metrics));
    GetTextMetricsW(dc, &metrics);
    HFONT font = CreateMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    SIZE extent = {0, 0};
    GetTextExtentExPointW(dc, text, lstrlenW(text), 0, NULL, NULL, &extent);
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);
    int width = IsHistoryItem(item->itemID) ? MenuTextWidth(hwnd, TEXT("W")) + extent.cx + 10 : extent.cx + 8;
    if (width > g_maxItemWidth) width = g_maxItemWidth;
    item->itemWidth = width > 0 ? static_cast<UINT>(width) : 0;
    item->itemHeight = static_cast<UINT>(metrics.tmHeight + metrics.tmExternalLeading);
    ReleaseDC(hwnd, dc);
}

static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    int old = static_cast<int>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_MEASUREITEM) {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        old ? oracle::MeasureMenuItem(hwnd, item) : ::MeasureMenuItem(hwnd, item);
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        ++g_itemsDrawn;
        DRAWITEMSTRUCT* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        ::DrawMenuItem(hwnd, wParam, item);
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND CreateMenuOwner(int old) {
    WNDCLASSW wc;
    memset(&wc, 0, sizeof(wc));
    wc.lpfnWndProc = OwnerProc;
    wc.hInstance = g_hInstance;
    wc.lpszClassName = TEXT("MenuOwner");
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, TEXT("MenuOwner"), TEXT(""), WS_POPUP, 0, 0, 10, 10, NULL, NULL, g_hInstance, NULL);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, old);
    return hwnd;
}

}  // namespace oracle
