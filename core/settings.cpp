// Defaults, load and save of the Settings record.
#include "core/settings.h"

#include <string.h>

#include "core/runtime.h"

SETTINGS g_settings;

int ApplyDefaultSettings() {
    // Every byte not set here stays zero, even when a record is set up a second time.
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.hotKeyChar[0][0] = TEXT('C');
    g_settings.hotKeyChar[1][0] = TEXT('T');
    g_settings.showToolTip = 1;
    g_settings.reservedA = 1;
    g_settings.reservedB = 1;
    return 1;
}

int LoadSettings() {
    HANDLE file = CreateFileW(g_szDataPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD leadingWord = 0;
    DWORD count = 0;
    BOOL result = ReadFile(file, &leadingWord, sizeof(leadingWord), &count, NULL);
    if (result) result = ReadFile(file, &g_settings, sizeof(g_settings), &count, NULL);
    CloseHandle(file);
    return result ? 1 : 0;
}

int SaveSettings() {
    HANDLE file = CreateFileW(g_szDataPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD leadingWord = 0;
    DWORD count = 0;
    WriteFile(file, &leadingWord, sizeof(leadingWord), &count, NULL);
    WriteFile(file, &g_settings, sizeof(g_settings), &count, NULL);
    CloseHandle(file);
    return 1;
}

void CopyHotKeyChar(WCHAR out[3], int entry) {
    out[0] = g_settings.hotKeyChar[entry][0];
    out[1] = out[0] ? g_settings.hotKeyChar[entry][1] : 0;
    out[2] = 0;
}
