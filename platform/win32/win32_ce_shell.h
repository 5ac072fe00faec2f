// Windows CE shell operations that desktop Windows does not have.
#pragma once

#include <windows.h>

// Saves a shell link at `shortcut` to the target given in the device's form: a quoted
// program path, optionally followed by arguments. Fails when the file exists already.
BOOL SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
// Reads a shell link's target back in the device's form, the quoted program path and its
// arguments, into target (maxChars characters including the NUL). Fails for files that
// are not shell links and for targets that do not fit.
BOOL SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int maxChars);
