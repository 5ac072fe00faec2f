// What every part of Zarvic shares: its names and ids, the runtime flags, the paths
// derived at start-up, and the steps every window of the program takes the same way.
#pragma once

#include "platform/platform.h"

#define ZARVIC_MUTEX_NAME TEXT("ZARVIC")
#define ZARVIC_CLASS_NAME TEXT("ZarvicEx")
#define ZARVIC_TITLE TEXT("クリップボード拡張")
#define ZARVIC_DATA_FILE TEXT("ZarvicDat.bin")
#define ZARVIC_DATA_NEW_FILE TEXT("ZarvicDat.new")
#define ZARVIC_HELP_FILE TEXT("Zarvic.htm")

#define HOTKEY_ID_HISTORY 100
#define TIMER_ID_POLL 126
#define POLL_INTERVAL_MS 300
#define WM_TRAY_CALLBACK (WM_USER + 300)
#define WM_OPEN_TRAY_MENU (WM_USER + 301)

#define PARK_X 20000
#define PARK_Y 20000

#define IDM_ABOUT 120
#define IDM_EXIT 121
#define IDM_CANCEL 122
#define IDM_SETTING 123
#define IDM_HELP 124
#define IDM_UNINSTALL 125
#define IDM_CLEAR 199
#define IDM_HISTORY_FIRST 200
#define IDM_HISTORY_LAST 239

extern HINSTANCE g_hInstance;
extern HWND g_hMainWnd;
extern WCHAR g_szExePath[MAX_PATH];
extern WCHAR g_szExeDir[MAX_PATH];
extern WCHAR g_szHelpPath[MAX_PATH];
extern WCHAR g_szDataPath[MAX_PATH];
extern WCHAR g_szDataNewPath[MAX_PATH];  // where a save writes before it replaces the data file
extern int g_dialogOpen;
extern int g_menuOpen;
extern int g_uninstalled;
extern int g_hotKeyRegistered;

void DerivePaths(HINSTANCE hInstance);

// Sends the main window behind every other window and hides it, so that activation
// returns to the application underneath.
void RunHideStep(HWND hwnd);

// Shows one of the program's dialog templates modally, with no owner; the dialog-open flag
// is set while it is up. Returns the dialog's result, or -1 when the template cannot be
// found.
INT_PTR RunDialogTemplate(int templateId, DLGPROC proc);

// Shows a message box owned by the main window with Zarvic's caption; the dialog-open flag
// is set while it is up.
int ShowMessage(HWND hwnd, LPCWSTR text, UINT style);
