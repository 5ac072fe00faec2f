#include "ui/uninstall.h"

#include "core/runtime.h"
#include "core/util.h"
#include "ui/shell_open.h"
#include "ui/shortcuts.h"

static const WCHAR kConfirmInstalled[] =
    TEXT("Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n")
    TEXT("アプリケーションの削除ダイアログを起動しますので\nここで Telvory Zarvic を選択し削除ボタンを\n")
    TEXT("タップしてください");
static const WCHAR kConfirmLoose[] =
    TEXT("Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n")
    TEXT("Zarvic のフォルダを開きますのでフォルダごと\n削除してください");
// For a folder that holds more than Zarvic, or one no uninstall may empty: only the
// program goes.
static const WCHAR kConfirmLooseShared[] =
    TEXT("Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n")
    TEXT("Zarvic のフォルダを開きますので\nZarvic.exe を削除してください");
// What Zarvic ships and writes beside its executable.
static const WCHAR* const kOwnFileNames[] = {TEXT("ZarvicDat.bin"), TEXT("ZarvicDat.new"), TEXT("Zarvic.htm"),
                                             TEXT("ReadMe.txt")};

BOOL IsInstalledCopy(LPCWSTR directory) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, INSTALLER_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    BOOL installed = 0;
    DWORD flag = 0;
    DWORD size = sizeof(flag);
    if (RegQueryValueExW(key, TEXT("Instl"), NULL, NULL, reinterpret_cast<LPBYTE>(&flag), &size) == ERROR_SUCCESS &&
        flag != 0) {
        // One unit more than the value may fill, so that a value stored without its NUL
        // still ends inside the buffer.
        WCHAR folder[MAX_PATH + 1];
        size = MAX_PATH * sizeof(WCHAR);
        if (RegQueryValueExW(key, TEXT("InstlDir"), NULL, NULL, reinterpret_cast<LPBYTE>(folder), &size) ==
            ERROR_SUCCESS) {
            DWORD units = size / sizeof(WCHAR);
            folder[units < MAX_PATH ? units : MAX_PATH] = 0;
            installed = IsSameFolder(folder, directory) ? 1 : 0;
        }
    }
    RegCloseKey(key);
    return installed;
}

static void DeleteShortcuts(HWND hwnd) {
    WCHAR found[MAX_PATH];
    if (FindShortcutTo(hwnd, found, g_szExePath, CSIDL_DESKTOP)) DeleteFileW(found);
    if (FindShortcutTo(hwnd, found, g_szExePath, CSIDL_STARTUP)) DeleteFileW(found);
}

// Only what the program itself writes or ships: the data file (and the copy a cut-off
// save may have left beside it) and the help file.
static void DeleteOwnFiles() {
    if (IsExistingFile(g_szDataPath)) DeleteFileW(g_szDataPath);
    if (IsExistingFile(g_szDataNewPath)) DeleteFileW(g_szDataNewPath);
    if (IsExistingFile(g_szHelpPath)) DeleteFileW(g_szHelpPath);
}

BOOL UninstallInstalledCopy(HWND hwnd) {
    if (ShowMessage(hwnd, kConfirmInstalled, MB_YESNO | MB_ICONQUESTION) != IDYES) return 0;
    DeleteShortcuts(hwnd);
    // The record may name a folder that was never Zarvic's alone.
    if (IsProtectedFolder(g_szExeDir))
        DeleteOwnFiles();
    else
        DeleteTreeExcept(g_szExeDir, g_szExePath);
    WCHAR panel[MAX_PATH], page[MAX_PATH];
    if (GetRemoveProgramsPanel(panel, page)) OpenWithShellBeforeExit(hwnd, panel, page);
    return 1;
}

static int IsOwnFileName(LPCWSTR name) {
    LPCWSTR exeName = FindLastChar(g_szExePath, TEXT('\\'));
    if (exeName && _wcsicmp(name, exeName + 1) == 0) return 1;
    for (size_t i = 0; i < sizeof(kOwnFileNames) / sizeof(kOwnFileNames[0]); ++i)
        if (_wcsicmp(name, kOwnFileNames[i]) == 0) return 1;
    return 0;
}

// Whether directory holds nothing but Zarvic's own files: no other file and no folder.
static int HoldsOnlyOwnFiles(LPCWSTR directory) {
    WCHAR pattern[MAX_PATH];
    if (!JoinPath(pattern, directory, TEXT("*.*"))) return 0;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int onlyOwn = 1;
    do {
        int isDirectory = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDirectory && (wcscmp(entry.cFileName, TEXT(".")) == 0 || wcscmp(entry.cFileName, TEXT("..")) == 0))
            continue;
        if (isDirectory || !IsOwnFileName(entry.cFileName)) onlyOwn = 0;
    } while (onlyOwn && FindNextFileW(find, &entry));
    FindClose(find);
    return onlyOwn;
}

BOOL UninstallLooseCopy(HWND hwnd) {
    // The person is asked to delete the folder whole only when nothing else is lost with it.
    int wholeFolder = !IsProtectedFolder(g_szExeDir) && HoldsOnlyOwnFiles(g_szExeDir);
    if (ShowMessage(hwnd, wholeFolder ? kConfirmLoose : kConfirmLooseShared, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    DeleteShortcuts(hwnd);
    // A loose copy may sit among the person's own files; the person deletes the folder
    // from the window opened below.
    DeleteOwnFiles();
    // An executable in the root folder has an empty directory: show the root instead.
    OpenWithShellBeforeExit(hwnd, g_szExeDir[0] ? g_szExeDir : TEXT("\\"), NULL);
    return 1;
}
