// The executable's path and the paths derived from it, computed once at start-up.
#include "core/runtime.h"
#include "core/util.h"

WCHAR g_szExePath[MAX_PATH];
WCHAR g_szExeDir[MAX_PATH];
WCHAR g_szHelpPath[MAX_PATH];
WCHAR g_szDataPath[MAX_PATH];
WCHAR g_szDataNewPath[MAX_PATH];

void DerivePaths(HINSTANCE hInstance) {
    g_szExePath[0] = g_szExeDir[0] = g_szHelpPath[0] = g_szDataPath[0] = g_szDataNewPath[0] = 0;
    DWORD length = GetModuleFileNameW(hInstance, g_szExePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        // A path the buffer cannot hold whole would name some other folder: use none.
        g_szExePath[0] = 0;
        return;
    }
    wcscpy(g_szExeDir, g_szExePath);
    WCHAR* lastBackslash = FindLastChar(g_szExeDir, TEXT('\\'));
    if (lastBackslash) *lastBackslash = 0;
    // A derived path that does not fit stays empty, so nothing is read from or written
    // to a cut-off name.
    JoinPath(g_szDataPath, g_szExeDir, ZARVIC_DATA_FILE);
    JoinPath(g_szDataNewPath, g_szExeDir, ZARVIC_DATA_NEW_FILE);
    JoinPath(g_szHelpPath, g_szExeDir, ZARVIC_HELP_FILE);
}
