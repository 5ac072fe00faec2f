// Windows CE's shortcut operations on desktop Windows: a shortcut is a real shell link
// (IShellLinkW saved through IPersistFile), and its target is reported as the device
// reports it, the quoted program path followed by its arguments.
#include <objbase.h>
#include <shobjidl.h>

#include "win32_platform.h"

namespace {

// Initialises COM for the calling thread for as long as it lives, unless the thread has
// it already in another apartment model, which serves as well.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(NULL, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

IShellLinkW* NewShellLink() {
    IShellLinkW* link = NULL;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return NULL;
    return link;
}

// Splits the device's target form, "\"program\" arguments" or "program", into its parts.
bool SplitTarget(LPCWSTR target, WCHAR* program, WCHAR* arguments) {
    program[0] = arguments[0] = 0;
    const WCHAR* rest;
    size_t length;
    if (target[0] == L'"') {
        const WCHAR* close = wcschr(target + 1, L'"');
        if (!close) return false;
        length = static_cast<size_t>(close - (target + 1));
        if (length == 0 || length >= MAX_PATH) return false;
        wcsncpy(program, target + 1, length);
        rest = close + 1;
    } else {
        const WCHAR* blank = wcschr(target, L' ');
        length = blank ? static_cast<size_t>(blank - target) : wcslen(target);
        if (length == 0 || length >= MAX_PATH) return false;
        wcsncpy(program, target, length);
        rest = target + length;
    }
    program[length] = 0;
    while (*rest == L' ') ++rest;
    if (wcslen(rest) >= MAX_PATH) return false;
    wcscpy(arguments, rest);
    return true;
}

}  // namespace

BOOL SHCreateShortcut(LPWSTR shortcut, LPWSTR target) {
    if (!shortcut || !target) return FALSE;
    // As on the device, an existing file or folder of that name is not replaced.
    if (GetFileAttributesW(shortcut) != INVALID_FILE_ATTRIBUTES) return FALSE;
    WCHAR program[MAX_PATH], arguments[MAX_PATH];
    if (!SplitTarget(target, program, arguments)) return FALSE;

    ComScope com;
    IShellLinkW* link = NewShellLink();
    if (!link) return FALSE;
    BOOL saved = FALSE;
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->SetPath(program)) && SUCCEEDED(link->SetArguments(arguments)) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = SUCCEEDED(file->Save(shortcut, TRUE)) ? TRUE : FALSE;
        file->Release();
    }
    link->Release();
    return saved;
}

BOOL SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int maxChars) {
    if (!shortcut || !target || maxChars <= 0) return FALSE;
    target[0] = 0;
    ComScope com;
    IShellLinkW* link = NewShellLink();
    if (!link) return FALSE;
    WCHAR program[MAX_PATH] = L"";
    WCHAR arguments[MAX_PATH] = L"";
    bool read = false;
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        // Files that are not shell links fail to load and so are no shortcuts.
        if (SUCCEEDED(file->Load(shortcut, STGM_READ)) &&
            link->GetPath(program, MAX_PATH, NULL, SLGP_RAWPATH) == S_OK && program[0] &&
            SUCCEEDED(link->GetArguments(arguments, MAX_PATH)))
            read = true;
        file->Release();
    }
    link->Release();
    if (!read) return FALSE;

    size_t programLength = wcslen(program), argumentsLength = wcslen(arguments);
    size_t needed = programLength + 2 + (argumentsLength ? 1 + argumentsLength : 0);
    if (needed + 1 > static_cast<size_t>(maxChars)) return FALSE;
    target[0] = L'"';
    wcscpy(target + 1, program);
    target[programLength + 1] = L'"';
    target[programLength + 2] = 0;
    if (argumentsLength) {
        wcscat(target, L" ");
        wcscat(target, arguments);
    }
    return TRUE;
}
