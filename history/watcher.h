// The clipboard watcher: one poll of the clipboard into the history store.
#pragma once

#include "platform/platform.h"

// Where the platform keeps a clipboard sequence number, a poll leaves the clipboard closed
// while the number is the one it last read to the end.
void PollClipboard(HWND hwnd);
// While polls are held, a poll leaves the clipboard and the history alone: the history
// menu holds its entries in place while it shows them. The next poll after the hold
// takes what was copied meanwhile.
void HoldClipboardPolls(int held);
// The history changed by other means than a poll (an entry deleted, the history cleared,
// the hot-key registered anew): the next poll reads the clipboard whatever its number.
void ForceClipboardRead();
