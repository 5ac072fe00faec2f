// Measuring and drawing the owner-drawn items of the history menu.
#include "menu/menu_item.h"

#include "core/runtime.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu/menu_font.h"
#include "menu/menu_tip.h"

static int IsHistoryItem(UINT id) { return id >= IDM_HISTORY_FIRST && id <= IDM_HISTORY_LAST; }

static const WCHAR* HistoryEntry(UINT id) { return g_historySlots[id - IDM_HISTORY_FIRST]; }

// The width of text, exact up to limit: a long text is measured only as far as it can
// widen the item, over its first units and further only while they all fit.
static int WidthUpTo(HDC dc, LPCWSTR text, int length, int limit) {
    if (limit < 0) limit = 0;
    int measured = length < MENU_MEASURE_FIRST_UNITS ? length : MENU_MEASURE_FIRST_UNITS;
    for (;; measured = measured < length / 4 ? measured * 4 : length) {
        int fit = 0;
        SIZE extent = {0, 0};
        if (!GetTextExtentExPointW(dc, text, measured, limit, &fit, NULL, &extent)) return 0;
        if (fit < measured || measured == length) return extent.cx;
    }
}

// Where an item's text starts: an entry's after the mnemonic column and a gap.
static int LabelStart(UINT id) {
    return IsHistoryItem(id) ? g_mnemonicColumnWidth + ScaleToMenuDpi(MENU_LABEL_GAP)
                             : ScaleToMenuDpi(MENU_PLAIN_LABEL_INSET);
}

void MeasureMenuItem(HWND hwnd, MEASUREITEMSTRUCT* item) {
    if (!item) return;
    MENU_MEASURING measuring;
    TEXTMETRICW metrics;
    if (!BeginMenuMeasuring(hwnd, &measuring, &metrics)) return;
    WCHAR label[MENU_LABEL_UNITS];
    label[0] = 0;
    const WCHAR* text = label;
    int start = LabelStart(item->itemID);
    if (item->itemID == IDM_CANCEL)
        text = TEXT("CANCEL");
    else if (item->itemID == IDM_CLEAR)
        text = TEXT("Clear Clipboard");
    else if (IsHistoryItem(item->itemID))
        // measured as it is drawn: tabs as spaces, and cut with dots where it is too wide
        FitLabelToRoom(measuring.dc, label, HistoryEntry(item->itemID), MENU_LABEL_UNITS, g_maxItemWidth - start,
                       MENU_LABEL_TAB_SIZE);
    int width = start + WidthUpTo(measuring.dc, text, lstrlenW(text), g_maxItemWidth - start);
    EndMenuMeasuring(&measuring);
    if (width > g_maxItemWidth) width = g_maxItemWidth;
    item->itemWidth = width > 0 ? static_cast<UINT>(width) : 0;
    item->itemHeight = static_cast<UINT>(metrics.tmHeight + metrics.tmExternalLeading);
}

// The underlined mnemonic of entry id, centred in its column. An entry without a
// mnemonic (from the 36th on) leaves the column empty.
static void DrawMnemonicColumn(HDC dc, const DRAWITEMSTRUCT* item, const RECT* itemRect) {
    int record = FindMnemonicRecord(g_mnemonicTable, reinterpret_cast<HMENU>(item->itemData));
    if (record < 0) return;
    LONG code = g_mnemonicTable[record].codes[item->itemID - IDM_HISTORY_FIRST];
    if (code == MNEMONIC_NONE || code == 0) return;
    WCHAR mnemonic[3] = {TEXT('&'), static_cast<WCHAR>(code & 0xFFFF), 0};
    // Centred between the column's start and one pixel into the gap after it.
    RECT column = {itemRect->left + ScaleToMenuDpi(MENU_MNEMONIC_INSET), itemRect->top,
                   itemRect->left + g_mnemonicColumnWidth + ScaleToMenuDpi(MENU_MNEMONIC_INSET + 1), itemRect->bottom};
    DrawTextW(dc, mnemonic, -1, &column, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
}

void DrawMenuItem(HWND, WPARAM, DRAWITEMSTRUCT* item) {
    if (!item) return;
    HDC dc = item->hDC;
    RECT itemRect = item->rcItem;
    g_menuSize.cx = itemRect.right;

    // only the preview of a highlighted entry goes beside the menu window
    HWND menuWnd = NULL;
    if (g_settings.showToolTip && (item->itemState & ODS_SELECTED)) {
        menuWnd = FindMenuWindow();
        if (menuWnd && !IsWindowVisible(menuWnd)) menuWnd = NULL;
    }

    // The label is fitted to the room it is measured for, and never to more than the item
    // the menu gives it.
    int start = LabelStart(item->itemID);
    int room = itemRect.right - itemRect.left < g_maxItemWidth ? itemRect.right - itemRect.left : g_maxItemWidth;
    WCHAR label[MENU_LABEL_UNITS];
    label[0] = 0;
    if (item->itemID == IDM_CANCEL)
        wcscpy(label, TEXT("&CANCEL"));
    else if (item->itemID == IDM_CLEAR)
        wcscpy(label, TEXT("&Clear Clipboard"));
    else if (IsHistoryItem(item->itemID))
        FitLabelToRoom(dc, label, HistoryEntry(item->itemID), MENU_LABEL_UNITS, room - start, MENU_LABEL_TAB_SIZE);

    if (g_settings.showToolTip) UpdateMenuTip(item, menuWnd);

    // The context goes back to the menu as it came: a highlight colour left in it would
    // colour the next items the menu draws with the same context. The text is drawn in the
    // font it was measured in, whatever font the menu's context carries.
    HFONT font = UseMenuFont();
    HGDIOBJ previousFont = font ? SelectObject(dc, font) : NULL;
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColor = GetTextColor(dc);
    if (item->itemState & ODS_SELECTED) {
        FillRect(dc, &itemRect, GetSysColorBrush(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT | SYS_COLOR_INDEX_FLAG));
    } else {
        FillRect(dc, &itemRect, GetSysColorBrush(COLOR_MENU | SYS_COLOR_INDEX_FLAG));
    }

    if (item->itemID == IDM_CANCEL || item->itemID == IDM_CLEAR) {
        RECT text = {itemRect.left + start, itemRect.top, itemRect.right, itemRect.bottom};
        DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    } else if (IsHistoryItem(item->itemID)) {
        DrawMnemonicColumn(dc, item, &itemRect);
        RECT text = {itemRect.left + start, itemRect.top, itemRect.right, itemRect.bottom};
        DrawTextW(dc, label, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | DT_NOPREFIX);
    }

    SetTextColor(dc, previousColor);
    if (previousMode) SetBkMode(dc, previousMode);
    if (previousFont) SelectObject(dc, previousFont);
    DoneWithMenuFont(font);
}
