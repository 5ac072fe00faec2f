// The settings dialog.
#pragma once

#include "platform/platform.h"

INT_PTR CALLBACK SettingsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Ticks the modifier boxes and fills the letter box from hot-key entry 0; the letter box
// is disabled when no modifier is set.
void LoadHotKeyControls(HWND dialog);
// Reads the modifier boxes and the letter box back into hot-key entry 0, the letter
// upper-cased.
void StoreHotKeyControls(HWND dialog);
// A typed hot-key character as its key: full-width A-Z and 0-9 as ASCII, a-z upper-cased.
WCHAR FoldHotKeyChar(WCHAR ch);
// Enables control id when hot-key entry `entry` has any modifier, disables it otherwise.
void UpdateLetterBoxEnabled(HWND dialog, int id, int entry);
