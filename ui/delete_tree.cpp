#include "core/util.h"
#include "ui/uninstall.h"

BOOL DeleteTreeExcept(LPCWSTR directory, LPCWSTR keep) {
    if (!IsExistingDirectory(directory)) return 0;
    size_t length = wcslen(directory);
    int endsWithSeparator = length > 0 && directory[length - 1] == TEXT('\\');
    WCHAR pattern[MAX_PATH];
    if (length + 4 > MAX_PATH - 1) return RemoveDirectoryW(directory);
    wcscpy(pattern, directory);
    wcscat(pattern, endsWithSeparator ? TEXT("*.*") : TEXT("\\*.*"));

    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern, &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            int isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (isDirectory && (wcscmp(entry.cFileName, TEXT(".")) == 0 || wcscmp(entry.cFileName, TEXT("..")) == 0))
                continue;
            // A folder link or junction leads out of the tree: what it points at is not ours.
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) continue;
            WCHAR path[MAX_PATH];
            if (length + (endsWithSeparator ? 0 : 1) + wcslen(entry.cFileName) > MAX_PATH - 1) continue;
            wcscpy(path, directory);
            if (!endsWithSeparator) wcscat(path, TEXT("\\"));
            wcscat(path, entry.cFileName);
            if (isDirectory)
                DeleteTreeExcept(path, keep);
            else if (!(keep && keep[0] && _wcsicmp(path, keep) == 0))
                DeleteFileW(path);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return RemoveDirectoryW(directory);
}
