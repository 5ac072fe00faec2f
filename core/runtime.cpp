// The process-wide state every part of Zarvic reads.
#include "core/runtime.h"

HINSTANCE g_hInstance;
HWND g_hMainWnd;
int g_dialogOpen;
int g_menuOpen;
int g_uninstalled;
int g_hotKeyRegistered;
