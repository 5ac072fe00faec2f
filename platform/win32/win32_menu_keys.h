// Keys typed while a popup menu is open. On the device and on desktop Windows the
// keyboard goes to the foreground thread, which the menu's owner has become before the
// menu opens: there TrackPopupMenuEx is the plain call. Wine hands a key from X to the
// thread whose X window holds the X input focus; after a hot-key pressed over another
// program that is still the other program, so the menu would never see what the user
// types. Moving the X focus to the menu does not help either: when it comes back, Wine
// rereads the keyboard from X and drops the Ctrl of a paste synthesised just then.
//
// Under Wine the backend therefore holds a low-level keyboard hook from start-up. It
// takes the key presses typed from the moment a hot-key fires (its WM_HOTKEY waiting in
// the queue) and, while a popup menu is tracked, posts them in order to the menu's owner,
// whose menu loop reads them like any other key message: those typed before the menu
// opened first. Alt is posted as VK_MENU, which closes the menu, as F10 does. Releases,
// Shift, Ctrl, the Windows and lock keys pass on untouched: the system keeps their state
// (Shift held while choosing deletes the entry), and no window is left believing a key is
// still down. A press that fires a registered hot-key passes on too, so the system makes
// it a WM_HOTKEY and the hot-key's own key never reaches its menu. Keys other programs
// synthesise pass on; they go to the foreground, the menu's owner.
//
// Wine's menu loop beeps at MNC_SELECT. In a menu of owner-drawn items the hook asks the
// owner's WM_MENUCHAR itself for a typed digit or letter and carries out its answer with
// Down presses to the item (and Enter for MNC_EXECUTE), so a mnemonic highlights its
// entry, as on the device.
//
// Wine activates the next window of its Z order when the menu's owner hides, which need
// not be the one the person typed in. The hook notes the foreground window when a press
// fires a hot-key, and the menu's end gives the activation back to it.
#pragma once

#include <windows.h>

// Installs the hook under Wine; does nothing on Windows. TrackPopupMenuWithKeys
// (platform/platform_menus.h) hands the keys to the menu.
void StartMenuKeys(void);
