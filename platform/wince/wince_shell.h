// The shell as Windows CE 4.10 declares it (Shellapi.h, Shlobj.h, Objbase.h). The desktop
// SDK's headers give these names other shapes: a larger NOTIFYICONDATAW, W-suffixed
// exports, shell links behind COM. CE's shell calls are coredll's, its folder calls
// ceshell's, and CoTaskMemFree is ole32's.
#pragma once

#include <windows.h>

typedef struct _NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
} NOTIFYICONDATAW, *PNOTIFYICONDATAW;
#define NOTIFYICONDATA NOTIFYICONDATAW

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004

typedef struct _SHELLEXECUTEINFOW {
    DWORD cbSize;
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;
    LPVOID lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;
    HANDLE hProcess;
} SHELLEXECUTEINFOW, *LPSHELLEXECUTEINFOW;
#define SHELLEXECUTEINFO SHELLEXECUTEINFOW
#define LPSHELLEXECUTEINFO LPSHELLEXECUTEINFOW

typedef struct _SHITEMID {
    USHORT cb;
    BYTE abID[1];
} SHITEMID;
typedef struct _ITEMIDLIST {
    SHITEMID mkid;
} ITEMIDLIST, *LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;

#define CSIDL_DESKTOP 0x0000
#define CSIDL_PROGRAMS 0x0002
#define CSIDL_PERSONAL 0x0005
#define CSIDL_STARTUP 0x0007
#define CSIDL_DESKTOPDIRECTORY 0x0010

extern "C" {
DECLSPEC_IMPORT BOOL WINAPI Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data);
DECLSPEC_IMPORT BOOL WINAPI ShellExecuteEx(LPSHELLEXECUTEINFOW info);
DECLSPEC_IMPORT BOOL WINAPI SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
DECLSPEC_IMPORT BOOL WINAPI SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int maxChars);
DECLSPEC_IMPORT HRESULT WINAPI SHGetSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
DECLSPEC_IMPORT BOOL WINAPI SHGetPathFromIDList(LPCITEMIDLIST list, LPWSTR path);
DECLSPEC_IMPORT void WINAPI CoTaskMemFree(LPVOID block);
}
