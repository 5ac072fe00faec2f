// Measuring and drawing the owner-drawn items of the history menu.
#include "menu/menu_item.h"

#include <string.h>

#include "core/runtime.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu/menu_font.h"
#include "menu/menu_tip.h"

#define MENU_WINDOW_CLASS TEXT("MNU")

static int IsHistoryItem(UINT id) { return id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST; }

static const WCHAR* HistoryEntry(UINT id) { return g_historySlots[id - IDM_HISTORY_FIRST]; }

void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item) {
    if (!item) return;
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
        CopyFirstLine(label, HistoryEntry(item->itemID), MENU_LABEL_UNITS);

    TEXTMETRICW metrics;
    memset(&metrics, 0, sizeof(metrics));
    GetTextMetricsW(dc, &metrics);
    HFONT font = CreateMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    // On a screen of another resolution a line is as high as the menu font scaled to it.
    if (previous && g_menuDpi != SCREEN_DEFAULT_DPI) GetTextMetricsW(dc, &metrics);
    SIZE extent = {0, 0};
    GetTextExtentExPointW(dc, text, lstrlenW(text), 0, NULL, NULL, &extent);
    if (previous) SelectObject(dc, previous);
    if (font) DeleteObject(font);

    int width = IsHistoryItem(item->itemID) ? GetMenuTextWidth(hwnd, TEXT("W")) + extent.cx + 10 : extent.cx + 8;
    if (width > g_maxItemWidth) width = g_maxItemWidth;
    item->itemWidth = width > 0 ? static_cast<UINT>(width) : 0;
    item->itemHeight = static_cast<UINT>(metrics.tmHeight + metrics.tmExternalLeading);
    ReleaseDC(hwnd, dc);
}

// The underlined mnemonic of entry id, centred in its column. An entry without a
// mnemonic (from the 36th on) leaves the column empty.
static void DrawMnemonicColumn(HDC dc, const DRAWITEMSTRUCT* item, const RECT* itemRect) {
    int record = FindMnemonicRecord(g_mnemonicTable, reinterpret_cast<HMENU>(item->itemData));
    if (record < 0) return;
    LONG code = g_mnemonicTable[record].codes[item->itemID - IDM_HISTORY_FIRST];
    if (code == MNEMONIC_NONE || code == 0) return;
    WCHAR mnemonic[3] = {TEXT('&'), static_cast<WCHAR>(code & 0xFFFF), 0};
    RECT column = {itemRect->left + 4, itemRect->top, itemRect->left + g_mnemonicColumnWidth + 5, itemRect->bottom};
    DrawTextW(dc, mnemonic, -1, &column, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void DrawMenuItem(HWND, WPARAM, DRAWITEMSTRUCT* item) {
    if (!item) return;
    HDC dc = item->hDC;
    RECT itemRect = item->rcItem;
    g_menuSize.cx = itemRect.right;

    HWND menuWnd = FindWindowW(MENU_WINDOW_CLASS, NULL);
    if (menuWnd && !IsWindowVisible(menuWnd)) menuWnd = NULL;

    WCHAR label[MENU_LABEL_UNITS];
    label[0] = 0;
    if (item->itemID == IDM_CANCEL)
        wcscpy(label, TEXT("&CANCEL"));
    else if (item->itemID == IDM_CLEAR)
        wcscpy(label, TEXT("&Clear Clipboard"));
    else if (IsHistoryItem(item->itemID))
        FitTextToWidth(dc, label, HistoryEntry(item->itemID), MENU_LABEL_UNITS,
                       g_maxItemWidth - g_mnemonicColumnWidth - 12, MENU_LABEL_TAB_SIZE);

    if (g_settings.showToolTip) UpdateMenuTip(item, menuWnd);

    // The context goes back to the menu as it came: a highlight colour left in it would
    // colour the next items the menu draws with the same context.
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = GetTextColor(dc);
    if (item->itemState & ODS_SELECTED) {
        FillRect(dc, &itemRect, GetSysColorBrush(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT | SYS_COLOR_INDEX_FLAG));
    } else {
        FillRect(dc, &itemRect, GetSysColorBrush(COLOR_MENU | SYS_COLOR_INDEX_FLAG));
    }

    if (item->itemID == IDM_CANCEL || item->itemID == IDM_CLEAR) {
        RECT text = {itemRect.left + 8, itemRect.top, itemRect.right, itemRect.bottom};
        DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    } else if (IsHistoryItem(item->itemID)) {
        DrawMnemonicColumn(dc, item, &itemRect);
        RECT text = {itemRect.left + g_mnemonicColumnWidth + 6, itemRect.top, itemRect.right, itemRect.bottom};
        DrawTextW(dc, label, -1, &text, DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
    }

    SetTextColor(dc, previousColor);
    if (previousMode) SetBkMode(dc, previousMode);
}
