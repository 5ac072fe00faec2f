// Handing a document, a link or a program to the platform shell.
#pragma once

#include "platform/platform.h"

// Opens file with the shell's "open" verb, with parameters or null. Returns the result of
// ShellExecuteEx.
BOOL OpenWithShell(HWND hwnd, LPCWSTR file, LPCWSTR parameters);
