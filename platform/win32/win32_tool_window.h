// Tool windows without a taskbar button. A top-level window with WS_EX_TOOLWINDOW has no
// taskbar button on the device or on desktop Windows, where CreateWindowExW is the plain
// call. Wine's taskbar shows one for every visible top-level window that has no owner,
// tool windows included. Under Wine the backend creates such a window owned by a hidden
// window of its own; an owned window has no button on either taskbar. The hidden owner
// is never shown, so it is never activated in the owned window's place either.
#pragma once

#include <windows.h>

HWND CreateToolWindowOwned(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);

#define CreateWindowExW CreateToolWindowOwned
