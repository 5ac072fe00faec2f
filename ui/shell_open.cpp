#include "ui/shell_open.h"

#include <string.h>

BOOL OpenWithShell(HWND hwnd, LPCWSTR file, LPCWSTR parameters) {
    SHELLEXECUTEINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    info.fMask = 0;
    info.hwnd = hwnd;
    info.lpVerb = TEXT("open");
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = NULL;
    info.nShow = SW_SHOWNORMAL;
    return ShellExecuteEx(&info);
}
