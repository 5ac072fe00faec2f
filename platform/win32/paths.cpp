// Desktop paths for comparing: "\\?\" taken off, made absolute, short names made long.
#include "win32_platform.h"

BOOL GetComparablePath(LPCWSTR path, LPWSTR out, DWORD units) {
    if (!path || !out || units == 0) return FALSE;
    WCHAR plain[MAX_PATH];
    if (wcsncmp(path, L"\\\\?\\UNC\\", 8) == 0) {
        if (wcslen(path + 6) >= MAX_PATH) return FALSE;
        wcscpy(plain, L"\\");
        wcscat(plain, path + 7);
    } else {
        LPCWSTR rest = wcsncmp(path, L"\\\\?\\", 4) == 0 ? path + 4 : path;
        if (wcslen(rest) >= MAX_PATH) return FALSE;
        wcscpy(plain, rest);
    }
    WCHAR full[MAX_PATH];
    DWORD length = GetFullPathNameW(plain, MAX_PATH, full, NULL);
    if (length == 0 || length >= MAX_PATH) return FALSE;
    // A folder that does not exist keeps the names it was given.
    WCHAR longer[MAX_PATH];
    length = GetLongPathNameW(full, longer, MAX_PATH);
    LPCWSTR result = (length > 0 && length < MAX_PATH) ? longer : full;
    if (wcslen(result) >= units) return FALSE;
    wcscpy(out, result);
    return TRUE;
}

BOOL GetRemoveProgramsPanel(LPWSTR program, LPWSTR parameters) {
    if (!program || !parameters) return FALSE;
    static const WCHAR kPanel[] = L"\\control.exe";
    UINT length = GetSystemDirectoryW(program, MAX_PATH);
    if (length == 0 || length + wcslen(kPanel) >= MAX_PATH) return FALSE;
    wcscat(program, kPanel);
    wcscpy(parameters, L"appwiz.cpl");
    return TRUE;
}
