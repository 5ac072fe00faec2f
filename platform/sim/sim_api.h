// The operations the simulated Handheld PC offers to programs, by their Win32 names.
// Each is implemented under platform/sim/ and behaves as the Win32 / Windows CE
// documentation describes, within what the device models.
#pragma once

#include "sim_types.h"
#include "../platform_screens.h"
#include "../platform_paths.h"
#include "../platform_clipboard.h"
#include "../platform_tray.h"
#include "../platform_shell.h"
#include "../platform_menus.h"
#include "../platform_foreground.h"
#include "../platform_windows.h"

// ---- kernel ----
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);
BOOL CloseHandle(HANDLE handle);
DWORD GetLastError();
void SetLastError(DWORD error);
HLOCAL LocalAlloc(UINT flags, size_t bytes);
HLOCAL LocalFree(HLOCAL block);
size_t LocalSize(HLOCAL block);
void Sleep(DWORD milliseconds);
DWORD GetTickCount();
DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size);
HMODULE GetModuleHandleW(LPCWSTR name);

// ---- C runtime string routines over 16-bit code units ----
size_t wcslen(const WCHAR* s);
WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
WCHAR* _wcsupr(WCHAR* s);
WCHAR* wcschr(WCHAR* s, WCHAR c);
const WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(WCHAR* s, WCHAR c);
const WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
int lstrlenW(LPCWSTR s);

// ---- windows and messages ----
ATOM RegisterClassW(const WNDCLASSW* wc);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL ShowWindow(HWND hwnd, int command);
BOOL UpdateWindow(HWND hwnd);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
HWND FindWindowW(LPCWSTR className, LPCWSTR title);
HWND GetParent(HWND hwnd);
HWND GetWindow(HWND hwnd, UINT relation);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
int GetWindowTextW(HWND hwnd, LPWSTR text, int count);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWLP_USERDATA (-21)
#define GW_OWNER 4
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetActiveWindow();
HWND SetFocus(HWND hwnd);
HWND GetFocus();

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT milliseconds, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
int GetSystemMetrics(int index);
BOOL SystemParametersInfoW(UINT action, UINT param, PVOID value, UINT winIni);
UINT RegisterWindowMessageW(LPCWSTR name);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
BOOL MessageBeep(UINT type);

// ---- resources and icons ----
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
DWORD SizeofResource(HMODULE module, HRSRC resource);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
BOOL DestroyIcon(HICON icon);

// ---- hot-keys and keyboard ----
BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk);
BOOL UnregisterHotKey(HWND hwnd, int id);
SHORT GetAsyncKeyState(int vk);
SHORT GetKeyState(int vk);
UINT MapVirtualKeyW(UINT code, UINT mapType);
void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo);
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// ---- input method ----
HIMC ImmAssociateContext(HWND hwnd, HIMC context);

// ---- clipboard ----
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
BOOL IsClipboardFormatAvailable(UINT format);
HANDLE GetClipboardData(UINT format);
// A copy of the format's memory in the caller's own heap, which the caller frees with
// LocalFree; LocalSize answers for it.
HANDLE GetClipboardDataAlloc(UINT format);
HANDLE SetClipboardData(UINT format, HANDLE data);
UINT RegisterClipboardFormatW(LPCWSTR name);

// ---- caret ----
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);

// ---- text and drawing ----
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HGDIOBJ GetStockObject(int index);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int SetBkMode(HDC dc, int mode);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
DWORD GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);
HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);

// ---- menus ----
HMENU CreatePopupMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR item);
BOOL DestroyMenu(HMENU menu);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
int GetMenuItemCount(HMENU menu);

// ---- dialogs ----
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC proc, LPARAM param);
BOOL EndDialog(HWND dialog, INT_PTR result);
HWND GetDlgItem(HWND dialog, int id);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int count);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);

// ---- notification icon and shell ----
BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data);
BOOL ShellExecuteEx(LPSHELLEXECUTEINFOW info);
// The device's ShellExecuteEx has handed the file over when it returns: a hand-over right
// before the program exits needs no flag.
#define SHELL_MASK_BEFORE_EXIT 0
HRESULT SHGetSpecialFolderLocation(HWND hwnd, int csidl, LPITEMIDLIST* idList);
BOOL SHGetPathFromIDList(LPCITEMIDLIST idList, LPWSTR path);
void CoTaskMemFree(LPVOID block);
BOOL SHCreateShortcut(LPWSTR shortcut, LPWSTR target);
BOOL SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int bytes);

// ---- files ----
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes,
                   DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPVOID overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPVOID overlapped);
DWORD GetFileSize(HANDLE file, LPDWORD high);
DWORD GetFileAttributesW(LPCWSTR path);
BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
// The attributes of a listed file whose contents are elsewhere and would be fetched when it
// is read: the device keeps every file it lists in its own store, so there are none.
#define FILE_ATTRIBUTES_NOT_HERE 0
BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE find);
BOOL DeleteFileW(LPCWSTR path);
BOOL RemoveDirectoryW(LPCWSTR path);
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes);
DWORD GetTempPathW(DWORD length, LPWSTR buffer);
BOOL FlushFileBuffers(HANDLE file);
BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName);

// ---- registry (read only for programs) ----
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, DWORD access, HKEY* result);
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG RegCloseKey(HKEY key);

// The program's entry point, called by the device as it starts the program.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
