// The preview tooltip's window: its class, creation, painting, and how it follows the
// highlight of the history menu.
#include "menu/menu_tip.h"

#include <string.h>

#include "core/runtime.h"
#include "core/settings.h"
#include "core/util.h"
#include "history/history.h"
#include "menu/menu_font.h"
#include "resource_ids.h"

HWND g_hMenuTipWnd;
HWND g_hTrackedMenuWnd;
WCHAR* g_pszMenuTipText;
UINT g_menuTipItemId;

static void ParkMenuTip(HWND hwnd) {
    SetWindowPos(hwnd, HWND_TOPMOST, MENU_TIP_PARK_X, MENU_TIP_PARK_Y, MENU_TIP_PARK_WIDTH, MENU_TIP_PARK_HEIGHT,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

ATOM RegisterMenuTipClass(HINSTANCE hInstance) {
    WNDCLASSW wc;
    memset(&wc, 0, sizeof(wc));
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MenuTipWndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(IDI_ZARVIC));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = MENU_TIP_CLASS;
    return RegisterClassW(&wc);
}

HWND CreateMenuTipWindow(HWND owner, HINSTANCE hInstance) {
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, MENU_TIP_CLASS, MENU_TIP_CLASS,
                                WS_POPUP | WS_DISABLED, MENU_TIP_PARK_X, MENU_TIP_PARK_Y, MENU_TIP_PARK_WIDTH,
                                MENU_TIP_PARK_HEIGHT, owner, NULL, hInstance, NULL);
    if (!hwnd) return NULL;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    return hwnd;
}

void CreateMenuTip(void) {
    RegisterMenuTipClass(g_hInstance);
    g_hMenuTipWnd = CreateMenuTipWindow(g_hMainWnd, g_hInstance);
}

void DestroyMenuTip(void) {
    if (!g_hMenuTipWnd) return;
    DestroyWindow(g_hMenuTipWnd);
    UnregisterClassW(MENU_TIP_CLASS, g_hInstance);
    g_hMenuTipWnd = NULL;
}

void FreeMenuTipText(void) {
    if (g_pszMenuTipText) LocalFree(g_pszMenuTipText);
    g_pszMenuTipText = NULL;
}

void UpdateMenuTip(const DRAWITEMSTRUCT* item, HWND menuWnd) {
    if (!item) return;
    const RECT* itemRect = &item->rcItem;
    if (!(item->itemState & ODS_SELECTED)) {
        if (g_menuTipItemId != 0 && g_menuTipItemId == item->itemID) {
            g_menuTipItemId = 0;
            if (g_hMenuTipWnd) ParkMenuTip(g_hMenuTipWnd);
        }
        return;
    }
    RECT menuRect;
    if (!menuWnd || !IsWindowVisible(menuWnd) || !GetMenuItemArea(menuWnd, &menuRect) ||
        menuRect.right != itemRect->right)
        return;
    if (item->itemID < IDM_HISTORY_FIRST || item->itemID > IDM_HISTORY_LAST) return;
    g_hTrackedMenuWnd = menuWnd;
    ClientRectToScreen(menuWnd, &menuRect);
    if (!g_settings.showToolTip) return;

    FreeMenuTipText();
    const WCHAR* entry = g_historySlots[item->itemID - IDM_HISTORY_FIRST];
    int units = CountChars(entry, MENU_TIP_TEXT_UNITS) + MENU_TIP_TAB_SIZE * CountTabs(entry, MENU_TIP_TEXT_UNITS) + 1;
    if (units <= 1) return;
    if (units > MENU_TIP_TEXT_UNITS) units = MENU_TIP_TEXT_UNITS;
    g_pszMenuTipText = static_cast<WCHAR*>(LocalAlloc(LPTR, units * sizeof(WCHAR)));
    if (!g_pszMenuTipText) return;
    ExpandTabs(g_pszMenuTipText, units, entry, MENU_TIP_TAB_SIZE);
    if (!g_hMenuTipWnd) return;

    RECT tip;
    LayoutMenuTip(g_hMenuTipWnd, g_pszMenuTipText, &tip, &menuRect, itemRect);
    SetWindowPos(g_hMenuTipWnd, HWND_TOPMOST, tip.left, tip.top, tip.right - tip.left, tip.bottom - tip.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(g_hMenuTipWnd, NULL, TRUE);
    UpdateWindow(g_hMenuTipWnd);
    g_menuTipItemId = item->itemID;
}

// A frame in the info-text colour around the info background, and the preview inside it
// in the menu font, broken only where the text has line breaks.
static void PaintMenuTip(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOTEXT | SYS_COLOR_INDEX_FLAG));
    RECT inside = {client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
    FillRect(dc, &inside, GetSysColorBrush(COLOR_INFOBK | SYS_COLOR_INDEX_FLAG));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT | SYS_COLOR_INDEX_FLAG));
    SetBkMode(dc, TRANSPARENT);
    HFONT font = UseMenuFont();
    HGDIOBJ previous = font ? SelectObject(dc, font) : NULL;
    RECT text = {client.left + 3, client.top, client.right - 3, client.bottom};
    DrawTextW(dc, g_pszMenuTipText, -1, &text, DT_NOPREFIX);
    if (previous) SelectObject(dc, previous);
    DoneWithMenuFont(font);
}

LRESULT CALLBACK MenuTipWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(hwnd, TIMER_ID_MENU_TIP, MENU_TIP_INTERVAL_MS, NULL);
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, TIMER_ID_MENU_TIP);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(hwnd, &paint);
        if (dc && g_pszMenuTipText) PaintMenuTip(hwnd, dc);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == TIMER_ID_MENU_TIP && g_hTrackedMenuWnd && !IsWindow(g_hTrackedMenuWnd)) {
            g_hTrackedMenuWnd = NULL;
            ParkMenuTip(hwnd);
        }
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}
