// The warning for a copy that cannot keep its settings: its folder cannot be written (in
// Program Files, on a write-protected card), or it runs from the temporary folder, where
// an archive opened without extracting it puts its files and where they do not stay.
#include "app/app.h"
#include "ui/uninstall.h"

static const WCHAR kFolderNotWritable[] =
    TEXT("Zarvic のフォルダに書き込めないため\n設定を保存できません\n\n")
    TEXT("書き込みのできるフォルダに Zarvic.exe を\nコピーしてから起動してください");
static const WCHAR kRunFromTemporaryFolder[] =
    TEXT("Zarvic が一時フォルダから起動されたため\n設定は保存されても失われます\n\n")
    TEXT("ZIP ファイルを展開したフォルダに Zarvic.exe を\n置いてから起動してください");

// Whether the folder refuses a new file. Only a refusal counts: a full disk or a failing
// card is no lasting property of the folder.
static int IsDataFolderRefused() {
    HANDLE probe = CreateFileW(g_szDataNewPath, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (probe == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
    }
    CloseHandle(probe);
    DeleteFileW(g_szDataNewPath);
    return 0;
}

void WarnIfSettingsCannotBeKept(HWND hwnd) {
    if (IsInTemporaryFolder(g_szExeDir))
        ShowMessage(hwnd, kRunFromTemporaryFolder, MB_OK | MB_ICONEXCLAMATION);
    else if (IsDataFolderRefused())
        ShowMessage(hwnd, kFolderNotWritable, MB_OK | MB_ICONEXCLAMATION);
}
