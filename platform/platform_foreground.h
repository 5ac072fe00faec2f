// The application in the foreground, as a program reaches it on the device: where its
// caret stands, and keys sent to it.
#pragma once

// The caret's position on the screen. On the device the plain GetCaretPos, which answers
// another program's caret only where the device's caret is system-wide (and fails
// otherwise). Desktop Windows keeps a caret per thread and reports only the caller's, in
// client coordinates: there the caret of the foreground window's thread, on the screen.
BOOL GetForegroundCaretPos(LPPOINT point);
// keybd_event for the application that has just been handed the activation. On the
// device and on desktop Windows the plain call; under Wine the first press waits, briefly
// and boundedly, until that application can take it (platform/win32/key_focus.cpp).
void SendKeyToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo);
