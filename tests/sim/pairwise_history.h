// The history store as it was before it kept lengths and hashes: after each push every pair
// of slots is compared in full. Kept as the oracle the store is checked against and as the
// old way the bench measures; it works on slots of its own.
#pragma once

#include "history/history.h"

struct PairwiseHistory {
    WCHAR* slots[HISTORY_SLOTS] = {};
    int capacity = HISTORY_INITIAL_CAPACITY;
};

inline void ReleasePairwiseSlot(PairwiseHistory& h, int i) {
    if (h.slots[i]) {
        LocalFree(h.slots[i]);
        h.slots[i] = NULL;
    }
}

inline void TrimPairwiseHistory(PairwiseHistory& h, int capacity) {
    for (int i = capacity; i < HISTORY_SLOTS; i++) ReleasePairwiseSlot(h, i);
}

inline void DropPairwiseSlot(PairwiseHistory& h, int j) {
    ReleasePairwiseSlot(h, j);
    for (int m = j; m < HISTORY_SLOTS - 1; m++) h.slots[m] = h.slots[m + 1];
    h.slots[HISTORY_SLOTS - 1] = NULL;
}

inline int PushPairwiseText(PairwiseHistory& h, WCHAR* text) {
    if (!text) return 0;
    if (h.slots[0] && wcscmp(h.slots[0], text) == 0) return 0;
    if (h.capacity > HISTORY_MAX_ENTRIES) h.capacity = HISTORY_MAX_ENTRIES;
    if (h.capacity < 0) h.capacity = 0;
    int capacity = h.capacity;
    TrimPairwiseHistory(h, capacity);
    for (int i = capacity; i >= 1; i--) h.slots[i] = h.slots[i - 1];
    h.slots[0] = text;
    for (int i = 0; i < HISTORY_SLOTS; i++) {
        for (int j = i + 1; j < HISTORY_SLOTS; j++) {
            if (!h.slots[i] || !h.slots[j] || h.slots[i][0] == 0) continue;
            if (wcscmp(h.slots[i], h.slots[j]) == 0) DropPairwiseSlot(h, j);
        }
    }
    TrimPairwiseHistory(h, capacity);
    return 1;
}

inline int RemovePairwiseEntry(PairwiseHistory& h, int k) {
    if (k < 0 || k >= HISTORY_MAX_ENTRIES || !h.slots[k]) return 0;
    DropPairwiseSlot(h, k);
    return 1;
}

inline void FreePairwiseHistory(PairwiseHistory& h) {
    for (int i = 0; i < HISTORY_SLOTS; i++) ReleasePairwiseSlot(h, i);
}
