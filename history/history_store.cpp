// The history store: 41 slots of owned texts, newest in slot 0, occupied slots contiguous
// from slot 0, slot 40 always empty between operations. Beside each slot the store keeps
// its text's length and hash, so that a push reads the new text once and compares in full
// only with an entry that is very likely the same text.
#include "history/history.h"

WCHAR* g_historySlots[HISTORY_SLOTS];
size_t g_historyLengths[HISTORY_SLOTS];
DWORD g_historyHashes[HISTORY_SLOTS];
int g_historyCapacity = HISTORY_INITIAL_CAPACITY;

void SetHistoryCapacity(int capacity) { g_historyCapacity = capacity < 0 ? 0 : capacity; }

// FNV-1a over the 16-bit units.
DWORD HashHistoryText(const WCHAR* text, size_t* length) {
    DWORD hash = 2166136261u;
    size_t n = 0;
    for (; text[n]; n++) hash = (hash ^ text[n]) * 16777619u;
    *length = n;
    return hash;
}

static int HoldsText(int i, const WCHAR* text, size_t length, DWORD hash) {
    return g_historySlots[i] && g_historyLengths[i] == length && g_historyHashes[i] == hash &&
           wcscmp(g_historySlots[i], text) == 0;
}

static void EmptySlot(int i) {
    g_historySlots[i] = NULL;
    g_historyLengths[i] = 0;
    g_historyHashes[i] = 0;
}

static void ReleaseSlot(int i) {
    if (g_historySlots[i]) LocalFree(g_historySlots[i]);
    EmptySlot(i);
}

static void MoveSlot(int from, int to) {
    g_historySlots[to] = g_historySlots[from];
    g_historyLengths[to] = g_historyLengths[from];
    g_historyHashes[to] = g_historyHashes[from];
}

static void TrimHistory(int capacity) {
    for (int i = capacity; i < HISTORY_SLOTS; i++) ReleaseSlot(i);
}

// Releases slot j and closes the gap; slot 40 ends empty.
static void DropSlot(int j) {
    ReleaseSlot(j);
    for (int m = j; m < HISTORY_SLOTS - 1; m++) MoveSlot(m + 1, m);
    EmptySlot(HISTORY_SLOTS - 1);
}

// The older copies of slot 0's text. Empty texts may repeat. As in a pass over every pair,
// the entry that a drop moves into slot j is not compared again; but only slot 0 is looked
// for, since the entries were distinct before the push.
static void DropOlderCopies() {
    if (g_historyLengths[0] == 0) return;
    for (int j = 1; j < HISTORY_SLOTS; j++) {
        if (HoldsText(j, g_historySlots[0], g_historyLengths[0], g_historyHashes[0])) DropSlot(j);
    }
}

int PushHistoryText(WCHAR* text) {
    if (!text) return 0;
    size_t length;
    DWORD hash = HashHistoryText(text, &length);
    if (HoldsText(0, text, length, hash)) return 0;

    int capacity = g_historyCapacity;
    if (capacity > HISTORY_MAX_ENTRIES) {
        capacity = HISTORY_MAX_ENTRIES;
        g_historyCapacity = capacity;
    }
    // A negative capacity would index below the slots.
    if (capacity < 0) {
        capacity = 0;
        g_historyCapacity = 0;
    }

    TrimHistory(capacity);
    for (int i = capacity; i >= 1; i--) MoveSlot(i - 1, i);
    g_historySlots[0] = text;
    g_historyLengths[0] = length;
    g_historyHashes[0] = hash;
    DropOlderCopies();
    TrimHistory(capacity);
    return 1;
}

int RemoveHistoryEntry(int k) {
    if (k < 0 || k >= HISTORY_MAX_ENTRIES) return 0;
    if (!g_historySlots[k]) return 0;
    DropSlot(k);
    return 1;
}

void FreeHistory() {
    for (int i = 0; i < HISTORY_SLOTS; i++) ReleaseSlot(i);
}
