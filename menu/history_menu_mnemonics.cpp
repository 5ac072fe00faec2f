// Keyboard mnemonics of the history menu: the table lookups and WM_MENUCHAR.
#include "core/settings.h"
#include "menu/history_menu.h"

int FindMnemonicRecord(const MNEMONIC_RECORD* table, HMENU menu) {
    if (!table) return -1;
    for (int r = 0; r < MNEMONIC_TABLE_RECORDS && table[r].hMenu; ++r)
        if (table[r].hMenu == menu) return r;
    return -1;
}

int MatchMnemonic(const MNEMONIC_RECORD* table, int record, WCHAR ch) {
    if (!table || record < 0 || record >= MNEMONIC_TABLE_RECORDS) return -1;
    LONG code = ch;
    if (code >= 'a' && code <= 'z') code -= 32;
    const MNEMONIC_RECORD* rec = &table[record];
    int first = -1;
    for (int k = 0; k < MNEMONIC_RECORD_CODES && rec->codes[k] != 0; ++k) {
        if (rec->codes[k] != code) continue;
        if (first == -1) first = rec->positions[k];
        if (rec->positions[k] > g_lastMnemonicMatch) {
            g_lastMnemonicMatch = rec->positions[k];
            return g_lastMnemonicMatch;
        }
    }
    g_lastMnemonicMatch = first;
    return first;
}

LRESULT HandleMenuChar(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == MF_POPUP) {
        int record = FindMnemonicRecord(g_mnemonicTable, reinterpret_cast<HMENU>(lParam));
        if (record >= 0) {
            int position = MatchMnemonic(g_mnemonicTable, record, static_cast<WCHAR>(LOWORD(wParam)));
            if (position >= 0)
                return MAKELRESULT(position, g_settings.showToolTip ? MNC_SELECT : MNC_EXECUTE);
        }
    }
    return DefWindowProcW(hwnd, WM_MENUCHAR, wParam, lParam);
}
