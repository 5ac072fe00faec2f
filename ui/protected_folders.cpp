// Folders an uninstall must never empty whole, whatever the installer's record says.
#include "ui/shortcuts.h"
#include "ui/uninstall.h"

// The folders the shell reports (the desktop through GetSpecialFolderPath, which finds
// its file-system folder). A profile holds the desktop and the documents, so it counts
// as a folder that holds them.
static const int kShellFolders[] = {CSIDL_PERSONAL, CSIDL_DESKTOP, CSIDL_STARTUP, CSIDL_PROGRAMS};
// The system's own folder names, on any drive: the device's shell has no number for the
// Windows and Program Files folders.
static const WCHAR* const kSystemFolders[] = {
    TEXT("\\Windows"),          TEXT("\\Program Files"),   TEXT("\\Program Files (x86)"), TEXT("\\My Documents"),
    TEXT("\\Temp"),             TEXT("\\Windows\\Desktop"), TEXT("\\Windows\\StartUp"),     TEXT("\\Windows\\Programs")};

// Copies path into out (MAX_PATH units) without its trailing separators; 0 when it does
// not fit.
static int CopyWithoutTrailingSeparators(WCHAR* out, LPCWSTR path) {
    size_t length = wcslen(path);
    if (length > MAX_PATH - 1) return 0;
    while (length > 0 && (path[length - 1] == TEXT('\\') || path[length - 1] == TEXT('/'))) --length;
    for (size_t i = 0; i < length; ++i) out[i] = path[i];
    out[length] = 0;
    return 1;
}

// A drive ("C:") or a network share ("\\server\share") holds a whole volume.
static int IsVolumeRoot(LPCWSTR folder) {
    size_t length = wcslen(folder);
    if (length == 2 && folder[1] == TEXT(':')) return 1;
    if (length < 2 || folder[0] != TEXT('\\') || folder[1] != TEXT('\\')) return 0;
    int separators = 0;
    for (size_t i = 2; i < length; ++i)
        if (folder[i] == TEXT('\\')) ++separators;
    return separators <= 1;
}

// Whether folder (without trailing separators) is path, or holds it, ignoring case.
static int IsSameOrAbove(LPCWSTR folder, LPCWSTR path) {
    WCHAR prefix[MAX_PATH];
    if (!path[0] || !CopyWithoutTrailingSeparators(prefix, path)) return 0;
    size_t length = wcslen(folder);
    size_t pathLength = wcslen(prefix);
    if (pathLength < length || (pathLength > length && prefix[length] != TEXT('\\'))) return 0;
    prefix[length] = 0;
    return _wcsicmp(prefix, folder) == 0;
}

int IsProtectedFolder(LPCWSTR directory) {
    WCHAR folder[MAX_PATH];
    if (!directory || !CopyWithoutTrailingSeparators(folder, directory)) return 1;
    if (!folder[0] || IsVolumeRoot(folder)) return 1;
    WCHAR path[MAX_PATH];
    for (size_t i = 0; i < sizeof(kShellFolders) / sizeof(kShellFolders[0]); ++i)
        if (GetSpecialFolderPath(NULL, path, kShellFolders[i]) && IsSameOrAbove(folder, path)) return 1;
    DWORD length = GetTempPathW(MAX_PATH, path);
    if (length > 0 && length < MAX_PATH && IsSameOrAbove(folder, path)) return 1;
    LPCWSTR withoutDrive = folder[1] == TEXT(':') ? folder + 2 : folder;
    for (size_t i = 0; i < sizeof(kSystemFolders) / sizeof(kSystemFolders[0]); ++i)
        if (IsSameOrAbove(withoutDrive, kSystemFolders[i])) return 1;
    return 0;
}
