// The shell's records as Windows CE 4.10 declares them (Shellapi.h, Shlobj.h), for the device
// and the simulated device alike. Desktop Windows' headers give NOTIFYICONDATAW more fields.
#pragma once

// The device's notification record: 152 bytes on the 32-bit device.
struct NOTIFYICONDATAW {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[64];
};
typedef NOTIFYICONDATAW* PNOTIFYICONDATAW;
#define NOTIFYICONDATA NOTIFYICONDATAW

struct SHELLEXECUTEINFOW {
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
};
typedef SHELLEXECUTEINFOW* LPSHELLEXECUTEINFOW;
#define SHELLEXECUTEINFO SHELLEXECUTEINFOW
#define LPSHELLEXECUTEINFO LPSHELLEXECUTEINFOW

struct SHITEMID { USHORT cb; BYTE abID[1]; };
struct ITEMIDLIST { SHITEMID mkid; };
typedef ITEMIDLIST* LPITEMIDLIST;
typedef const ITEMIDLIST* LPCITEMIDLIST;
static_assert(sizeof(void*) != 4 || sizeof(NOTIFYICONDATAW) == 152, "CE's notification record");

#define NIM_ADD 0x00000000
#define NIM_MODIFY 0x00000001
#define NIM_DELETE 0x00000002
#define NIF_MESSAGE 0x00000001
#define NIF_ICON 0x00000002
#define NIF_TIP 0x00000004
#define CSIDL_DESKTOP 0x0000
#define CSIDL_PROGRAMS 0x0002
#define CSIDL_PERSONAL 0x0005
#define CSIDL_STARTUP 0x0007
#define CSIDL_DESKTOPDIRECTORY 0x0010
