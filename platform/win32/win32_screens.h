// The desktop's monitors and their resolutions, behind the platform's screen query.
#pragma once

#include <windows.h>

// The resolution Windows scales the process's own measures by: the system's DPI (that of
// the primary monitor when the user signed in).
UINT GetSystemDpi(void);
// The DPI of the monitor hwnd is on, where Windows tells it (Windows 10); else the system's.
UINT GetWindowDpi(HWND hwnd);
