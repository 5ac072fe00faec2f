// Paste-back and clearing: what the history menu's commands do.
#pragma once

#include "platform/platform.h"

void SendPasteKeys(HWND hwnd);
int ClearSystemClipboard(HWND hwnd);

// WM_COMMAND 200 + k: paste slot k back, or delete it when Shift is held.
void RunHistoryCommand(HWND hwnd, int k);
// WM_COMMAND 199: empty the clipboard and the history after a confirmation.
void RunClearCommand(HWND hwnd);
