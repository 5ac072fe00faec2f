// Placeholder store: keeps nothing until the history store lands.
#include "history/history.h"

WCHAR* g_historySlots[HISTORY_SLOTS];
int g_historyCapacity = HISTORY_INITIAL_CAPACITY;

int PushHistoryText(WCHAR*) { return 0; }
int RemoveHistoryEntry(int) { return 0; }
void FreeHistory() {}
