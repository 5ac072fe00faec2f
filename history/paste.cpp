// Placeholder paste-back: gives the foreground back and nothing else until it lands.
#include "history/paste.h"

#include "app/app.h"

int CopyEntryToClipboard(HWND, int) { return 0; }
void SendPasteKeys(HWND hwnd) { RunHideStep(hwnd); }
int ClearSystemClipboard(HWND) { return 0; }
void RunHistoryCommand(HWND hwnd, int) { RunHideStep(hwnd); }
void RunClearCommand(HWND hwnd) { RunHideStep(hwnd); }
