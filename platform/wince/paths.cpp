#include "wince_platform.h"

// The device's paths are always full and have no short forms: a path compares as given.
BOOL GetComparablePath(LPCWSTR path, LPWSTR out, DWORD units) {
    if (!path || !out || units == 0) return FALSE;
    size_t length = wcslen(path);
    if (length >= units) return FALSE;
    memcpy(out, path, (length + 1) * sizeof(WCHAR));
    return TRUE;
}
