// The history hot-key: its registration from the Settings record.
#pragma once

#include "platform/platform.h"

UINT HotKeyModifiers(int entry);
// Registers hot-key 100 on the main window from entry 0 of the Settings record. Refuses,
// without asking the system, when there is no modifier or the letter is not A to Z or
// 0 to 9 once upper-cased.
BOOL RegisterHistoryHotKey(HWND hwnd);
// Clears the hot-key-registered flag and unregisters the hot-key, when it is registered.
// Returns whether it was.
int UnregisterHistoryHotKey(HWND hwnd);
// Tells the user that the hot-key could not be registered and another combination is needed.
void ReportHotKeyRefused(HWND hwnd);
// Registers the hot-key again after UnregisterHistoryHotKey let go of it for a moment, and
// starts the poll interval afresh. A refusal stops the watcher and says so, once the keys
// sent meanwhile have gone to the application.
int RetakeHistoryHotKey(HWND hwnd);

// The clipboard is watched exactly while the history hot-key is held: registers the
// hot-key from the settings and, when that worked, starts the poll timer. Returns whether
// it worked.
int StartWatching(HWND hwnd);
// Lets go of the hot-key and stops the poll timer. Returns whether the hot-key was held.
int StopWatching(HWND hwnd);
