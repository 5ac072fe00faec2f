// Handing a document, a link or a program to the platform shell.
#pragma once

#include "platform/platform.h"

// Opens file with the shell's "open" verb, with parameters or null. Returns the result of
// ShellExecuteEx.
BOOL OpenWithShell(HWND hwnd, LPCWSTR file, LPCWSTR parameters);
// The same for a hand-over right before Zarvic exits: the call returns only once the shell
// is done with it, so that the exit does not cut it short.
BOOL OpenWithShellBeforeExit(HWND hwnd, LPCWSTR file, LPCWSTR parameters);
