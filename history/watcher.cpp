// The clipboard watcher: copies the clipboard's Unicode text into the history store.
#include "history/watcher.h"

#include "history/clip_data.h"
#include "history/clip_marks.h"
#include "history/history.h"

// The sequence number at the last poll that read the clipboard to the end, where the
// platform keeps one; valid until the history changes by other means than a poll.
static DWORD g_readSequence;
static int g_readSequenceValid;
static int g_pollsHeld;

void ForceClipboardRead() { g_readSequenceValid = 0; }

void HoldClipboardPolls(int held) { g_pollsHeld = held; }

// Copies the open clipboard's text unless it is the newest entry already, which is neither
// counted nor copied; *copy is the new text or NULL. Returns 1 when the clipboard was read
// to the end, 0 when a later poll must try again.
static int CopyClipboardText(WCHAR** copy) {
    *copy = NULL;
    if (IsClipboardMarkedPrivate() || !IsClipboardFormatAvailable(CF_UNICODETEXT)) return 1;
    CLIPBOARD_BLOCK block;
    // The text is there but was not handed out: nothing was read.
    if (!GetClipboardBlock(CF_UNICODETEXT, &block)) return 0;
    int read = 1;
    // A block too small for even the NUL is no text.
    if (block.size >= sizeof(WCHAR) && !IsBlockText(&block, g_historySlots[0], g_historyLengths[0])) {
        const WCHAR* text = static_cast<const WCHAR*>(block.bytes);
        size_t n = CountBlockText(&block);
        *copy = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (n + 1) * sizeof(WCHAR)));
        if (*copy) {
            for (size_t i = 0; i < n; i++) (*copy)[i] = text[i];
            (*copy)[n] = 0;
        } else {
            read = 0;
        }
    }
    ReleaseClipboardBlock(&block);
    return read;
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
