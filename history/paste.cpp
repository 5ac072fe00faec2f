// Paste-back and clearing: the clipboard and key operations the history menu's commands
// are made of.
#include "history/paste.h"

#include "core/runtime.h"
#include "history/clip_data.h"
#include "history/history.h"

#define VK_LETTER_V 0x56

int IsKeyHeld(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

WCHAR* DuplicateHistoryEntry(int k) {
    if (k < 0 || k >= HISTORY_MAX_ENTRIES || !g_historySlots[k]) return NULL;
    const WCHAR* entry = g_historySlots[k];
    size_t n = wcslen(entry);
    WCHAR* copy = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (n + 1) * sizeof(WCHAR)));
    if (copy)
        for (size_t i = 0; i <= n; i++) copy[i] = entry[i];
    return copy;
}

int PlaceOnClipboard(HWND hwnd, WCHAR* copy) {
    if (!OpenClipboard(hwnd)) {
        LocalFree(copy);
        return 0;
    }
    EmptyClipboard();
    // The clipboard owns the copy only once it has taken it.
    int placed = SetClipboardData(CF_UNICODETEXT, copy) != NULL;
    if (!placed) LocalFree(copy);
    CloseClipboard();
    return placed;
}

static void SendKey(BYTE vk, DWORD flags) {
    BYTE scan = static_cast<BYTE>(MapVirtualKeyW(vk, 0) & 0xFF);
    SendKeyToFocus(vk, scan, flags, 0);
}

void SendPasteKeys(HWND hwnd) {
    RunHideStep(hwnd);
    int ctrlHeld = IsKeyHeld(VK_CONTROL);
    if (!ctrlHeld) SendKey(VK_CONTROL, 0);
    SendKey(VK_LETTER_V, 0);
    // V stays down for a moment, as under a finger: a program that looks at the key's state
    // while it handles the press finds it held.
    Sleep(10);
    SendKey(VK_LETTER_V, KEYEVENTF_KEYUP);
    if (!ctrlHeld) SendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}

int ClearSystemClipboard(HWND hwnd) {
    if (!OpenClipboard(hwnd)) return 0;
    EmptyClipboard();
    CloseClipboard();
    return 1;
}

// Whether the open clipboard's Unicode text is exactly the given text.
static int ClipboardHoldsText(const WCHAR* text) {
    CLIPBOARD_BLOCK block;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !GetClipboardBlock(CF_UNICODETEXT, &block)) return 0;
    int same = IsBlockText(&block, text, wcslen(text));
    ReleaseClipboardBlock(&block);
    return same;
}

void EmptyClipboardOfText(HWND hwnd, const WCHAR* text) {
    if (!OpenClipboard(hwnd)) return;
    if (ClipboardHoldsText(text)) EmptyClipboard();
    CloseClipboard();
}
