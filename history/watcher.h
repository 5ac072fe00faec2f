// The clipboard watcher: one poll of the clipboard into the history store.
#pragma once

#include "platform/platform.h"

void PollClipboard(HWND hwnd);

// The number of code units before the NUL of a text the clipboard handed out, never
// counting past the end of its block (which need not hold a NUL at all).
size_t CountClipboardText(const WCHAR* text);
