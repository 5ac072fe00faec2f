// The history store: 41 slots of owned texts, newest in slot 0, occupied slots contiguous
// from slot 0, slot 40 always empty between operations.
#include "history/history.h"

WCHAR* g_historySlots[HISTORY_SLOTS];
int g_historyCapacity = HISTORY_INITIAL_CAPACITY;

static void ReleaseSlot(int i) {
    if (g_historySlots[i]) {
        LocalFree(g_historySlots[i]);
        g_historySlots[i] = NULL;
    }
}

static void TrimHistory(int capacity) {
    for (int i = capacity; i < HISTORY_SLOTS; i++) ReleaseSlot(i);
}

// Releases slot j and closes the gap; slot 40 ends empty.
static void DropSlot(int j) {
    ReleaseSlot(j);
    for (int m = j; m < HISTORY_SLOTS - 1; m++) g_historySlots[m] = g_historySlots[m + 1];
    g_historySlots[HISTORY_SLOTS - 1] = NULL;
}

static void DropLaterCopies() {
    for (int i = 0; i < HISTORY_SLOTS; i++) {
        for (int j = i + 1; j < HISTORY_SLOTS; j++) {
            if (!g_historySlots[i] || !g_historySlots[j] || g_historySlots[i][0] == 0) continue;
            if (wcscmp(g_historySlots[i], g_historySlots[j]) == 0) DropSlot(j);
        }
    }
}

int PushHistoryText(WCHAR* text) {
    if (!text) return 0;
    if (g_historySlots[0] && wcscmp(g_historySlots[0], text) == 0) return 0;

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
    for (int i = capacity; i >= 1; i--) g_historySlots[i] = g_historySlots[i - 1];
    g_historySlots[0] = text;
    DropLaterCopies();
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
