// The clipboard watcher: copies the clipboard's Unicode text into the history store.
#include "history/watcher.h"

#include "history/clip_marks.h"
#include "history/history.h"

// The sequence number at the last poll that read the clipboard to the end, where the
// platform keeps one; valid until the history changes by other means than a poll.
static DWORD g_readSequence;
static int g_readSequenceValid;
static int g_pollsHeld;

void ForceClipboardRead() { g_readSequenceValid = 0; }

void HoldClipboardPolls(int held) { g_pollsHeld = held; }

size_t ClipboardTextLimit(const WCHAR* text) {
    size_t bytes = LocalSize(const_cast<WCHAR*>(text));
    // LocalSize answers only for the caller's own heap: a text another program put on the
    // device's clipboard has no size Zarvic can ask, and ends at its NUL.
    if (bytes == 0) return static_cast<size_t>(-1);
    return bytes / sizeof(WCHAR);
}

static size_t CountTextWithin(const WCHAR* text, size_t limit) {
    size_t n = 0;
    while (n < limit && text[n]) n++;
    return n;
}

size_t CountClipboardText(const WCHAR* text) { return CountTextWithin(text, ClipboardTextLimit(text)); }

// Whether the clipboard's text (of at most `limit` units) is the newest entry, compared in
// place. The entry ends at its NUL, so a shorter text differs at its own NUL at the latest
// and nothing past that is read.
static int IsNewestText(const WCHAR* text, size_t limit) {
    const WCHAR* newest = g_historySlots[0];
    if (!newest) return 0;
    if (limit == static_cast<size_t>(-1)) {
        while (*text == *newest && *newest) {
            text++;
            newest++;
        }
        return *text == *newest;
    }
    size_t n = 0;
    while (n < limit && text[n] == newest[n] && newest[n]) n++;
    return n == limit ? newest[n] == 0 : text[n] == newest[n];
}

// Copies the open clipboard's text unless it is the newest entry already, which is neither
// counted nor copied; *copy is the new text or NULL. Returns 1 when the clipboard was read
// to the end, 0 when a later poll must try again.
static int CopyClipboardText(WCHAR** copy) {
    *copy = NULL;
    if (IsClipboardMarkedPrivate() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return 1;
    const WCHAR* text = static_cast<const WCHAR*>(GetClipboardData(CF_UNICODETEXT));
    // The text is there but was not handed out (its owner could not render it, or memory
    // ran short): nothing was read.
    if (!text) return 0;
    size_t limit = ClipboardTextLimit(text);
    // A block too small for even the NUL is no text.
    if (limit == 0 || IsNewestText(text, limit)) return 1;
    size_t n = CountTextWithin(text, limit);
    *copy = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (n + 1) * sizeof(WCHAR)));
    if (!*copy) return 0;
    for (size_t i = 0; i < n; i++) (*copy)[i] = text[i];
    (*copy)[n] = 0;
    return 1;
}

void PollClipboard(HWND hwnd) {
    if (g_pollsHeld) return;
    DWORD sequence = 0;
    int numbered = QueryClipboardSequenceNumber(&sequence);
    // Nothing has changed since the clipboard was last read to the end: leave it closed
    // for everyone else.
    if (numbered && g_readSequenceValid && sequence == g_readSequence) return;
    if (!OpenClipboard(hwnd)) return;
    WCHAR* copy;
    int read = CopyClipboardText(&copy);
    // Every moment the clipboard stays open another program may fail to copy or paste:
    // the history takes the text only once it is closed again.
    CloseClipboard();
    if (copy && !PushHistoryText(copy)) {
        LocalFree(copy);
        read = 0;
    }
    g_readSequence = sequence;
    g_readSequenceValid = numbered && read;
}
