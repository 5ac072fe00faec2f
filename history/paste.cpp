// Paste-back and clearing: what the history menu's entries, "Clear Clipboard" and
// "CANCEL" do once the menu has closed.
#include "history/paste.h"

#include "core/runtime.h"
#include "history/clip_data.h"
#include "history/history.h"
#include "history/watcher.h"

static const WCHAR kClearQuestion[] = TEXT("クリップボード履歴をクリアします\n\n    よろしいでしょうか？");

#define VK_LETTER_V 0x56

static int IsKeyHeld(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

// A copy of slot k for the clipboard, or NULL. It is made before the clipboard is opened,
// so that the clipboard is held open for the set alone.
static WCHAR* DuplicateEntry(int k) {
    if (k < 0 || k >= HISTORY_MAX_ENTRIES || !g_historySlots[k]) return NULL;
    const WCHAR* entry = g_historySlots[k];
    size_t n = wcslen(entry);
    WCHAR* copy = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (n + 1) * sizeof(WCHAR)));
    if (copy)
        for (size_t i = 0; i <= n; i++) copy[i] = entry[i];
    return copy;
}

// Puts the copy on the clipboard, which then owns it; on failure the copy is released.
static int PlaceOnClipboard(HWND hwnd, WCHAR* copy) {
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
    keybd_event(vk, scan, flags, 0);
}

void SendPasteKeys(HWND hwnd) {
    RunHideStep(hwnd);
    int ctrlHeld = IsKeyHeld(VK_CONTROL);
    if (!ctrlHeld) SendKey(VK_CONTROL, 0);
    SendKey(VK_LETTER_V, 0);
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

// Empties the clipboard when it holds exactly this text. Looked at and emptied in one
// opening: a text another program copies in between is never wiped.
static void EmptyClipboardOfText(HWND hwnd, const WCHAR* text) {
    if (!OpenClipboard(hwnd)) return;
    if (ClipboardHoldsText(text)) EmptyClipboard();
    CloseClipboard();
}

void RunHistoryCommand(HWND hwnd, int k) {
    if (IsKeyHeld(VK_SHIFT)) {
        // The watcher would take the newest entry straight back from the clipboard. Only
        // that text is emptied: whatever else the clipboard holds is the user's.
        if (k == 0 && g_historySlots[0]) EmptyClipboardOfText(hwnd, g_historySlots[0]);
        RemoveHistoryEntry(k);
        ForceClipboardRead();
        RunHideStep(hwnd);
        return;
    }
    // The entry is taken as its row showed it; then one poll takes a text copied while the
    // menu was up into the history, before the paste replaces it on the clipboard.
    WCHAR* copy = DuplicateEntry(k);
    if (copy) PollClipboard(hwnd);
    // Ctrl+V with the entry missing from the clipboard would paste some other text.
    if (!copy || !PlaceOnClipboard(hwnd, copy)) {
        RunHideStep(hwnd);
        return;
    }
    SendPasteKeys(hwnd);
}

void RunClearCommand(HWND hwnd) {
    if (ShowMessage(hwnd, kClearQuestion, MB_YESNO | MB_ICONQUESTION) == IDYES) {
        ClearSystemClipboard(hwnd);
        FreeHistory();
        ForceClipboardRead();
    }
    RunHideStep(hwnd);
}
