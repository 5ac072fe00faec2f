// Uninstall: the installed copy and a loose copy.
#pragma once

#include "platform/platform.h"

#define INSTALLER_KEY TEXT("Software\\Apps\\Telvory Zarvic")

// 1 when the installer's record names this directory as the installed copy's folder.
BOOL IsInstalledCopy(LPCWSTR directory);
// After the person confirms: the shortcuts go, the installed folder is emptied but for
// the executable (only Zarvic's own files go when the folder is protected), and the
// control panel's program removal starts. 0 when declined.
BOOL UninstallInstalledCopy(HWND hwnd);
// After the person confirms: the shortcuts and the program's own files go, and the
// executable's folder opens so that the person removes the rest. 0 when declined.
BOOL UninstallLooseCopy(HWND hwnd);
// 1 for a folder no uninstall may empty whole: the root or a drive or share root, a
// folder the system keeps for itself (Windows, Program Files, My Documents, the desktop,
// Startup, Programs, Temp: as the shell reports them, and by their names) or any folder
// that holds one of them, such as a profile.
int IsProtectedFolder(LPCWSTR directory);
// Writes into out (MAX_PATH units) the folder as compared: the platform's full spelling,
// without "." and "..", backslashes only, no trailing one (the root is empty). 0 when it
// does not fit.
int NormalizeFolderPath(WCHAR* out, LPCWSTR path);
// Whether directory is the platform's temporary folder or lies inside it.
int IsInTemporaryFolder(LPCWSTR directory);
// Whether two paths name the same folder, however each is written.
int IsSameFolder(LPCWSTR first, LPCWSTR second);
// Deletes every file below directory except the file keep (null or empty: none), and the
// subfolders it empties; returns the result of removing directory itself, or 0 when it
// does not exist. Folder links are never followed.
BOOL DeleteTreeExcept(LPCWSTR directory, LPCWSTR keep);
