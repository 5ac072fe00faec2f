#include "ui/shell_open.h"

#include <string.h>

static BOOL Open(HWND hwnd, LPCWSTR file, LPCWSTR parameters, DWORD mask) {
    SHELLEXECUTEINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.hwnd = hwnd;
    info.lpVerb = TEXT("open");
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = NULL;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteEx(&info);
}

BOOL OpenWithShell(HWND hwnd, LPCWSTR file, LPCWSTR parameters) { return Open(hwnd, file, parameters, 0); }

BOOL OpenWithShellBeforeExit(HWND hwnd, LPCWSTR file, LPCWSTR parameters) {
    return Open(hwnd, file, parameters, SHELL_MASK_BEFORE_EXIT);
}
