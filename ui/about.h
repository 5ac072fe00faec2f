// The About dialog, the help file and the shell.
#pragma once

#include "platform/platform.h"

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
BOOL OpenWithShell(HWND hwnd, LPCWSTR file, LPCWSTR parameters);
