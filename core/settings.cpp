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
    // The two reserved words mean nothing to this version; files written by every version
    // so far hold 1 in them, and a record of defaults is written the same way.
    g_settings.reservedA = 1;
    g_settings.reservedB = 1;
    return 1;
}

// The new record is written whole beside the data file before the old file goes (see
// SaveSettings). A save cut off between the two leaves only that complete copy: read it.
static HANDLE OpenSavedCopy(DWORD dataFileError) {
    if (dataFileError != ERROR_FILE_NOT_FOUND) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(g_szDataNewPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE && GetFileSize(file, NULL) != SETTINGS_FILE_SIZE) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

int LoadSettings() {
    HANDLE file = CreateFileW(g_szDataPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) file = OpenSavedCopy(GetLastError());
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD leadingWord = 0;
    DWORD count = 0;
    BOOL result = ReadFile(file, &leadingWord, sizeof(leadingWord), &count, NULL);
    if (result) result = ReadFile(file, &g_settings, sizeof(g_settings), &count, NULL);
    CloseHandle(file);
    return result ? 1 : 0;
}

static int WriteWhole(HANDLE file, const void* bytes, DWORD size) {
    DWORD count = 0;
    return WriteFile(file, bytes, size, &count, NULL) && count == size;
}

// Windows CE can neither replace a file in one step (no MoveFileEx, no ReplaceFile) nor
// rename onto an existing name, and its DeleteAndRenameFile works in the object store
// only, not on a storage card. So the record is written whole, flushed and closed under
// the second name first; only then is the old file deleted and the new one renamed into
// its place. Cut off anywhere, the card holds either the old file or, between the delete
// and the rename, the complete new copy, which LoadSettings reads. A copy that failed
// part-way is deleted and the old file is left as it was.
int SaveSettings() {
    HANDLE file = CreateFileW(g_szDataNewPath, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD leadingWord = 0;
    int complete = WriteWhole(file, &leadingWord, sizeof(leadingWord)) &&
                   WriteWhole(file, &g_settings, sizeof(g_settings)) && FlushFileBuffers(file);
    CloseHandle(file);
    if (!complete) {
        DeleteFileW(g_szDataNewPath);
        return 0;
    }
    if (!DeleteFileW(g_szDataPath) && GetLastError() != ERROR_FILE_NOT_FOUND) {
        // The old file cannot go (read-only, held open, write-protected): it stays in force.
        DeleteFileW(g_szDataNewPath);
        return 0;
    }
    return MoveFileW(g_szDataNewPath, g_szDataPath) ? 1 : 0;
}

void CopyHotKeyChar(WCHAR out[3], int entry) {
    out[0] = g_settings.hotKeyChar[entry][0];
    out[1] = out[0] ? g_settings.hotKeyChar[entry][1] : 0;
    out[2] = 0;
}
