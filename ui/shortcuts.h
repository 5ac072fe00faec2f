// Shortcuts to the executable on the desktop and in the Startup folder.
#pragma once

#include "platform/platform.h"

// Spelt so since the first release: the links people already have carry this name, and
// finding, replacing and deleting them depends on it. Do not correct it.
#define SHORTCUT_FILE_NAME TEXT("Zravic.lnk")

// Fills out (MAX_PATH units) with the path of special folder csidl; for CSIDL_DESKTOP
// without a path, that of CSIDL_DESKTOPDIRECTORY. Returns 1 when a path was obtained,
// else 0.
int GetSpecialFolderPath(HWND hwnd, LPWSTR out, int csidl);
// Writes path enclosed in double quotes into out (MAX_PATH units). Returns 0, with out
// empty, when a pointer is null or the quoted path does not fit.
int QuotePath(LPWSTR out, LPCWSTR path);
// Looks through folder csidl for a shortcut whose target is the quoted target path,
// ignoring case. Returns 1 and the shortcut's full path in found (MAX_PATH units) for the
// first one enumerated, else 0.
int FindShortcutTo(HWND hwnd, LPWSTR found, LPCWSTR target, int csidl);
// Creates "Zravic.lnk" in folder csidl pointing at the quoted target path, replacing a
// file of that name. Returns the result of SHCreateShortcut, or 0.
BOOL CreateShortcutTo(HWND hwnd, LPCWSTR target, int csidl);
