// The clipboard watcher: copies the clipboard's Unicode text into the history store.
#include "history/watcher.h"

#include "history/clip_marks.h"
#include "history/history.h"

size_t ClipboardTextLimit(const WCHAR* text) {
    size_t bytes = LocalSize(const_cast<WCHAR*>(text));
    // LocalSize answers only for the caller's own heap: a text another program put on the
    // device's clipboard has no size Zarvic can ask, and ends at its NUL.
    if (bytes == 0) return static_cast<size_t>(-1);
    return bytes / sizeof(WCHAR);
}

size_t CountClipboardText(const WCHAR* text) {
    size_t limit = ClipboardTextLimit(text);
    size_t n = 0;
    while (n < limit && text[n]) n++;
    return n;
}

// A private copy of the clipboard's text, or NULL when it has none (or no memory).
static WCHAR* CopyClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return NULL;
    const WCHAR* text = static_cast<const WCHAR*>(GetClipboardData(CF_UNICODETEXT));
    // A block too small for even the NUL is no text.
    if (!text || ClipboardTextLimit(text) == 0) return NULL;
    size_t n = CountClipboardText(text);
    WCHAR* copy = static_cast<WCHAR*>(LocalAlloc(LPTR, (n + 1) * sizeof(WCHAR)));
    if (!copy) return NULL;
    for (size_t i = 0; i < n; i++) copy[i] = text[i];
    copy[n] = 0;
    return copy;
}

void PollClipboard(HWND hwnd) {
    if (!OpenClipboard(hwnd)) return;
    WCHAR* copy = IsClipboardMarkedPrivate() ? NULL : CopyClipboardText();
    CloseClipboard();
    if (!copy) return;
    if (!PushHistoryText(copy)) LocalFree(copy);
}
