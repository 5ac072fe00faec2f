// The shell calls as Windows CE 4.10 declares them (Shellapi.h, Shlobj.h, Objbase.h); the
// desktop SDK's headers give them W-suffixed names or put shell links behind COM. CE's shell
// calls are coredll's, its folder calls ceshell's, and CoTaskMemFree is ole32's.
#pragma once

#include <windows.h>

#include "../ce_shell_types.h"

extern "C" {
DECLSPEC_IMPORT BOOL WINAPI Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data);
DECLSPEC_IMPORT BOOL WINAPI ShellExecuteEx(LPSHELLEXECUTEINFOW info);
DECLSPEC_IMPORT BOOL WINAPI SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
DECLSPEC_IMPORT BOOL WINAPI SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int maxChars);
DECLSPEC_IMPORT HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
DECLSPEC_IMPORT BOOL WINAPI SHGetPathFromIDList(LPCITEMIDLIST list, LPWSTR path);
DECLSPEC_IMPORT void WINAPI CoTaskMemFree(LPVOID block);
}
