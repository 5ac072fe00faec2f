#include "ui/shortcuts.h"

#include "core/util.h"

static int GetFolderPathOf(HWND hwnd, LPWSTR out, int csidl) {
    out[0] = 0;
    LPITEMIDLIST idList = NULL;
    if (SHGetSpecialFolderLocation(hwnd, csidl, &idList) != S_OK) return 0;
    if (!idList) return 0;
    BOOL found = SHGetPathFromIDList(idList, out);
    CoTaskMemFree(idList);
    if (!found) {
        // A folder without a file-system path is no folder to look into.
        out[0] = 0;
        return 0;
    }
    return 1;
}

int GetSpecialFolderPath(HWND hwnd, LPWSTR out, int csidl) {
    if (GetFolderPathOf(hwnd, out, csidl)) return 1;
    // Where CSIDL_DESKTOP is the shell namespace's root it has no path: the desktop's
    // files are in the desktop directory.
    return csidl == CSIDL_DESKTOP ? GetFolderPathOf(hwnd, out, CSIDL_DESKTOPDIRECTORY) : 0;
}

int QuotePath(LPWSTR out, LPCWSTR path) {
    if (!out || !path) return 0;
    size_t length = wcslen(path);
    if (length + 2 > MAX_PATH - 1) {
        out[0] = 0;
        return 0;
    }
    out[0] = TEXT('"');
    wcscpy(out + 1, path);
    out[length + 1] = TEXT('"');
    out[length + 2] = 0;
    return 1;
}

// The pattern "*.lnk" also matches longer extensions through their short names.
static int IsShortcutFileName(LPCWSTR name) {
    size_t length = wcslen(name);
    return length > 4 && _wcsicmp(name + length - 4, TEXT(".lnk")) == 0;
}

int FindShortcutTo(HWND hwnd, LPWSTR found, LPCWSTR target, int csidl) {
    if (!IsExistingFile(target)) return 0;
    if (!found) return 0;
    found[0] = 0;
    WCHAR quoted[MAX_PATH];
    WCHAR folder[MAX_PATH];
    WCHAR pattern[MAX_PATH];
    if (!QuotePath(quoted, target)) return 0;
    if (!GetSpecialFolderPath(hwnd, folder, csidl)) return 0;
    if (!JoinPath(pattern, folder, TEXT("*.lnk"))) return 0;

    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        // Only shortcut files are opened: reading any other file of a synced folder could
        // fetch it from the cloud, and a file that is not here holds no shortcut of ours.
        if (entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTES_NOT_HERE)) continue;
        if (!IsShortcutFileName(entry.cFileName)) continue;
        WCHAR candidate[MAX_PATH];
        if (!JoinPath(candidate, folder, entry.cFileName)) continue;
        // The target buffer's capacity is given in characters, as the shell counts it.
        WCHAR linked[MAX_PATH];
        if (SHGetShortcutTarget(candidate, linked, MAX_PATH) && _wcsicmp(linked, quoted) == 0) {
            wcscpy(found, candidate);
            FindClose(find);
            return 1;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return 0;
}

BOOL CreateShortcutTo(HWND hwnd, LPCWSTR target, int csidl) {
    if (!IsExistingFile(target)) return 0;
    WCHAR quoted[MAX_PATH];
    WCHAR folder[MAX_PATH];
    WCHAR link[MAX_PATH];
    if (!QuotePath(quoted, target)) return 0;
    if (!GetSpecialFolderPath(hwnd, folder, csidl)) return 0;
    if (!JoinPath(link, folder, SHORTCUT_FILE_NAME)) return 0;
    if (IsExistingFile(link)) DeleteFileW(link);
    return SHCreateShortcut(link, quoted);
}
