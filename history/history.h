// The history store: the captured texts, newest first, in 41 slots (slot 40 always empty).
#pragma once

#include "platform/platform.h"

#define HISTORY_SLOTS 41
#define HISTORY_MAX_ENTRIES 40
// Until the first push (which brings it down to the 40 kept) or the first menu build (which
// works it out from the screen), the capacity is the number of positions the menu's
// mnemonic record holds.
#define HISTORY_INITIAL_CAPACITY 45

extern WCHAR* g_historySlots[HISTORY_SLOTS];
// Kept by the store beside each slot (0 for an empty one); read-only elsewhere.
extern size_t g_historyLengths[HISTORY_SLOTS];
extern DWORD g_historyHashes[HISTORY_SLOTS];
extern int g_historyCapacity;

// How many entries the next push keeps and the menu shows; a push brings more than 40 down
// to 40. A negative capacity is taken as 0.
void SetHistoryCapacity(int capacity);

// On 1 the store owns text; on 0 nothing changed and the caller still owns it.
int PushHistoryText(WCHAR* text);
int RemoveHistoryEntry(int k);
void FreeHistory();
// The hash kept beside an entry; sets *length to the text's length in units.
DWORD HashHistoryText(const WCHAR* text, size_t* length);
