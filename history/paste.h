// Paste-back and clearing: the clipboard and key operations the history menu's commands
// are made of.
#pragma once

#include "platform/platform.h"

// Whether key vk is down now.
int IsKeyHeld(int vk);
// A copy of slot k for the clipboard, or NULL. It is made before the clipboard is opened,
// so that the clipboard is held open for the set alone.
WCHAR* DuplicateHistoryEntry(int k);
// Puts the copy on the clipboard, which then owns it; on failure the copy is released.
int PlaceOnClipboard(HWND hwnd, WCHAR* copy);
// Empties the clipboard when it holds exactly this text. Looked at and emptied in one
// opening: a text another program copies in between is never wiped.
void EmptyClipboardOfText(HWND hwnd, const WCHAR* text);
// The hide step, then Ctrl+V to the window that takes the activation (Ctrl only when the
// person is not holding it already).
void SendPasteKeys(HWND hwnd);
int ClearSystemClipboard(HWND hwnd);
