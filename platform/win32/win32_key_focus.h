// Keys synthesised for another application. On the device and on desktop Windows the
// keys that Zarvic sends right after handing the activation back reach the application
// that now has it, and keybd_event is the plain call. Under Wine, activation passes to
// another thread asynchronously: until that thread has taken the focus, a synthesised key
// has no window to go to and is lost (measured: about every other paste after the history
// menu). There the first press of the program's keys waits, briefly and boundedly, until
// there is a foreground window, its thread holds the focus and no one holds the clipboard
// open; every key after it, releases included, goes out at once, so the person's own keys
// never meet a Ctrl the program holds down. Ctrl is read again as that first press goes
// out: a Ctrl the person pressed during the wait stands for the program's, and one the
// person let go of is pressed and released around the program's keys.
#pragma once

#include <windows.h>

VOID KeybdEventToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo);

#define keybd_event KeybdEventToFocus
