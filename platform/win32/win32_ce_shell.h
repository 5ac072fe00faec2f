// Windows CE shell operations that desktop Windows does not have.
#pragma once

#include <windows.h>

// Writes a shortcut file whose target is `target` (the device's form: a quoted path).
BOOL SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
// Reads a shortcut's target back in the device's form: the quoted executable path.
BOOL SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int bytes);
