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

// Length of the part of folder that names a volume and that ".." cannot leave: "C:" or
// "\\server\share"; 0 for a path from the root.
static size_t VolumePrefixLength(LPCWSTR folder) {
    if (folder[0] && folder[1] == TEXT(':')) return 2;
    if (folder[0] != TEXT('\\') || folder[1] != TEXT('\\')) return 0;
    size_t i = 2;
    for (int separators = 0; folder[i]; ++i)
        if (folder[i] == TEXT('\\') && ++separators == 2) break;
    return i;
}

int NormalizeFolderPath(WCHAR* out, LPCWSTR path) {
    WCHAR spelled[MAX_PATH];
    if (!path || !GetComparablePath(path, spelled, MAX_PATH)) return 0;
    for (WCHAR* c = spelled; *c; ++c)
        if (*c == TEXT('/')) *c = TEXT('\\');
    size_t prefix = VolumePrefixLength(spelled);
    for (size_t i = 0; i < prefix; ++i) out[i] = spelled[i];
    size_t length = prefix;
    // Each name is appended after a separator; "." is dropped and ".." takes the last
    // name off again.
    for (size_t i = prefix; spelled[i];) {
        while (spelled[i] == TEXT('\\')) ++i;
        size_t begin = i;
        while (spelled[i] && spelled[i] != TEXT('\\')) ++i;
        size_t size = i - begin;
        if (size == 0 || (size == 1 && spelled[begin] == TEXT('.'))) continue;
        if (size == 2 && spelled[begin] == TEXT('.') && spelled[begin + 1] == TEXT('.')) {
            while (length > prefix && out[length - 1] != TEXT('\\')) --length;
            if (length > prefix) --length;
            continue;
        }
        if (length + 1 + size > MAX_PATH - 1) return 0;
        out[length++] = TEXT('\\');
        for (size_t k = 0; k < size; ++k) out[length++] = spelled[begin + k];
    }
    out[length] = 0;
    return 1;
}

int IsSameFolder(LPCWSTR first, LPCWSTR second) {
    WCHAR a[MAX_PATH], b[MAX_PATH];
    // paths too long to spell out are compared as written
    if (!NormalizeFolderPath(a, first) || !NormalizeFolderPath(b, second)) return _wcsicmp(first, second) == 0;
    return _wcsicmp(a, b) == 0;
}

// A drive ("C:") or a network share ("\\server\share") holds a whole volume.
static int IsVolumeRoot(LPCWSTR folder) {
    size_t prefix = VolumePrefixLength(folder);
    return prefix > 0 && folder[prefix] == 0;
}

// Length of the first name of folder when it is a storage card, whose folder in the root
// the device marks as temporary; 0 otherwise.
static size_t CardPrefixLength(LPCWSTR folder) {
    if (folder[0] != TEXT('\\') || folder[1] == TEXT('\\')) return 0;
    size_t length = 1;
    while (folder[length] && folder[length] != TEXT('\\')) ++length;
    if (length == 1 || length > MAX_PATH - 1) return 0;
    WCHAR card[MAX_PATH];
    for (size_t i = 0; i < length; ++i) card[i] = folder[i];
    card[length] = 0;
    DWORD attributes = GetFileAttributesW(card);
    if (attributes == 0xFFFFFFFF) return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_TEMPORARY) ? length : 0;
}

// Whether folder (normalised) is path, or holds it, ignoring case.
static int IsSameOrAbove(LPCWSTR folder, LPCWSTR path) {
    WCHAR prefix[MAX_PATH];
    if (!path[0] || !NormalizeFolderPath(prefix, path)) return 0;
    size_t length = wcslen(folder);
    size_t pathLength = wcslen(prefix);
    if (pathLength < length || (pathLength > length && prefix[length] != TEXT('\\'))) return 0;
    prefix[length] = 0;
    return _wcsicmp(prefix, folder) == 0;
}

int IsInTemporaryFolder(LPCWSTR directory) {
    WCHAR temp[MAX_PATH], folder[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, temp);
    if (!directory || length == 0 || length >= MAX_PATH || !NormalizeFolderPath(folder, temp) || !folder[0]) return 0;
    return IsSameOrAbove(folder, directory);
}

int IsProtectedFolder(LPCWSTR directory) {
    WCHAR folder[MAX_PATH];
    if (!directory || !NormalizeFolderPath(folder, directory)) return 1;
    if (!folder[0] || IsVolumeRoot(folder)) return 1;
    size_t card = CardPrefixLength(folder);
    if (card > 0 && folder[card] == 0) return 1;
    WCHAR path[MAX_PATH];
    for (size_t i = 0; i < sizeof(kShellFolders) / sizeof(kShellFolders[0]); ++i)
        if (GetSpecialFolderPath(NULL, path, kShellFolders[i]) && IsSameOrAbove(folder, path)) return 1;
    DWORD length = GetTempPathW(MAX_PATH, path);
    if (length > 0 && length < MAX_PATH && IsSameOrAbove(folder, path)) return 1;
    // The system's folder names count on every drive and on every card.
    LPCWSTR withoutVolume = folder + (card > 0 ? card : (folder[1] == TEXT(':') ? 2 : 0));
    for (size_t i = 0; i < sizeof(kSystemFolders) / sizeof(kSystemFolders[0]); ++i)
        if (IsSameOrAbove(withoutVolume, kSystemFolders[i])) return 1;
    return 0;
}
