// The history store: the captured texts, newest first, in 41 slots (slot 40 always empty).
#pragma once

#include "platform/platform.h"

#define HISTORY_SLOTS 41
#define HISTORY_MAX_ENTRIES 40
#define HISTORY_INITIAL_CAPACITY 45

extern WCHAR* g_historySlots[HISTORY_SLOTS];
extern int g_historyCapacity;

// On 1 the store owns text; on 0 nothing changed and the caller still owns it.
int PushHistoryText(WCHAR* text);
int RemoveHistoryEntry(int k);
void FreeHistory();
