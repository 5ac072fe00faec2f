// Keys typed while a popup menu is open. On the device and on desktop Windows the
// keyboard goes to the foreground thread, which the menu's owner has become before the
// menu opens. Wine hands a key from X to the thread whose X window holds the X input
// focus; after a hot-key pressed over another program that is still the other program,
// so the menu would never see what the user types. Moving the X focus to the menu does
// not help either: when it comes back, Wine rereads the keyboard from X and drops the
// Ctrl of a paste synthesised just then.
//
// While it tracks a popup menu the backend therefore takes the keyboard's key presses
// with a low-level hook and posts them to the menu's owner, whose menu loop reads them
// like any other key message (Alt included, which closes it). Releases, Shift, Ctrl, the
// Windows keys and the lock keys pass on untouched: the system keeps their state (Shift
// held while choosing deletes the entry), and no window is left believing a key is still
// down. Keys other programs synthesise pass on too; they go to the foreground, the
// menu's owner.
#pragma once

#include <windows.h>

BOOL TrackPopupMenuWithKeys(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);

#define TrackPopupMenuEx TrackPopupMenuWithKeys
