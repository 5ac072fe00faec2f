// The history menu: built afresh at each hot-key press, tracked modally at the anchor,
// and its choice posted back to the main window.
#include "menu/history_menu.h"

#include "core/runtime.h"
#include "core/settings.h"
#include "history/history.h"
#include "history/watcher.h"
#include "menu/menu_font.h"
#include "menu/menu_item.h"
#include "menu/menu_tip.h"

MNEMONIC_RECORD* g_mnemonicTable;
int g_lastMnemonicMatch = -1;
SIZE g_menuSize = {MENU_SIZE_INITIAL_WIDTH, MENU_SIZE_INITIAL_HEIGHT};
int g_maxItemWidth;
int g_mnemonicColumnWidth;

// The mnemonic of history slot k: the digits 1 to 9, then the letters A to Z, then none.
static LONG SlotMnemonic(int k) {
    if (k < 9) return '1' + k;
    if (k < 35) return 'A' + (k - 9);
    return MNEMONIC_NONE;
}

static void SetMnemonic(MNEMONIC_RECORD* record, int position, LONG code) {
    record->codes[position] = code;
    record->positions[position] = position;
}

// Appends the items: one owner-drawn entry per history text shown, then the separator
// and "Clear Clipboard" when there is any, then "CANCEL". Each owner-drawn item carries
// the menu's own handle as its data.
static void AppendHistoryItems(HMENU menu, MNEMONIC_RECORD* record) {
    LPCWSTR data = reinterpret_cast<LPCWSTR>(menu);
    int n = 0;
    while (n < g_historyCapacity && n < HISTORY_MAX_ENTRIES && g_historySlots[n]) {
        AppendMenuW(menu, MF_OWNERDRAW, IDM_HISTORY_FIRST + n, data);
        SetMnemonic(record, n, SlotMnemonic(n));
        ++n;
    }
    int next = 0;
    if (n > 0) {
        AppendMenuW(menu, MF_SEPARATOR, 0, NULL);
        SetMnemonic(record, n, MNEMONIC_NONE);
        AppendMenuW(menu, MF_OWNERDRAW, IDM_CLEAR, data);
        SetMnemonic(record, n + 1, MNEMONIC_CLEAR_CANCEL);
        next = n + 2;
    }
    AppendMenuW(menu, MF_OWNERDRAW, IDM_CANCEL, data);
    SetMnemonic(record, next, MNEMONIC_CLEAR_CANCEL);
}

void ShowHistoryMenu(HWND hwnd, POINT anchor) {
    g_lastMnemonicMatch = -1;
    g_mnemonicTable = static_cast<MNEMONIC_RECORD*>(LocalAlloc(LPTR, MNEMONIC_TABLE_RECORDS * sizeof(MNEMONIC_RECORD)));
    if (!g_mnemonicTable) return;
    // The menu opens on the anchor's screen, and is measured and drawn in its resolution.
    SCREENINFO screen;
    if (GetScreenFromPoint(anchor, &screen)) {
        g_menuDpi = screen.dpi;
        g_menuWorkArea = screen.rcWork;
    }

    OpenMenuMeasuring(hwnd);
    int lines = GetMenuLinesPerScreen(hwnd);
    // The lines per screen already leave two rows free; two more make room below the entries
    // for the separator, "Clear Clipboard" and "CANCEL".
    SetHistoryCapacity(lines > 2 ? lines - 2 : lines);
    g_maxItemWidth = GetMenuTextWidth(hwnd, TEXT("AAAAAAAAAAAAAAAA"));
    g_mnemonicColumnWidth = GetMenuTextWidth(hwnd, TEXT("W")) + ScaleToMenuDpi(MENU_MNEMONIC_INSET);

    HMENU menu = CreatePopupMenu();
    g_mnemonicTable[0].hMenu = menu;
    if (menu) {
        // Each row stands for the text it shows: nothing enters the history while the menu
        // is up, and the chosen command is posted ahead of the next tick.
        HoldClipboardPolls(1);
        AppendHistoryItems(menu, &g_mnemonicTable[0]);
        if (g_settings.showToolTip) CreateMenuTip();
        SetForegroundWindow(hwnd);
        int chosen = static_cast<int>(TrackPopupMenuWithKeys(menu, TPM_RETURNCMD, anchor.x, anchor.y, hwnd, NULL));
        if (chosen > 0) PostMessageW(hwnd, WM_COMMAND, static_cast<WPARAM>(chosen), 0);
        DestroyMenuTip();
        PostMessageW(hwnd, WM_NULL, 0, 0);
        DestroyMenu(menu);
        HoldClipboardPolls(0);
        // A dismissed menu runs no command, and so no hide step: the main window would
        // stay in the foreground, swallowing what the user types next. Hand the
        // foreground back to the application the menu was opened over.
        if (chosen <= 0) RunHideStep(hwnd);
    }
    CloseMenuMeasuring();
    LocalFree(g_mnemonicTable);
    g_mnemonicTable = NULL;
    g_menuDpi = SCREEN_DEFAULT_DPI;
    SetRect(&g_menuWorkArea, 0, 0, 0, 0);
}
