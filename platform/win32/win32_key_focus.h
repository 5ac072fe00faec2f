// Keys synthesised for another application. On the device the keys that Zarvic sends
// right after handing the activation back reach the application that now has it. On the
// desktop, activation passes to another thread asynchronously: until that thread has
// taken the focus, a synthesised key has no window to go to and is lost (measured under
// Wine: about every other paste after the history menu). The backend's keybd_event waits,
// briefly and boundedly, until there is a foreground window, its thread holds the focus
// and no one holds the clipboard open.
#pragma once

#include <windows.h>

VOID KeybdEventToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo);

#define keybd_event KeybdEventToFocus
