// Placeholder About dialog until it lands: closes at once.
#include "ui/about.h"

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) EndDialog(dialog, IDCANCEL);
    return FALSE;
}

BOOL OpenWithShell(HWND, LPCWSTR, LPCWSTR) { return FALSE; }
