// Which platform runs the desktop build: Windows, or Wine.
#include "win32_wine.h"

static BOOL DetectWine(void) {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != NULL;
}

BOOL IsRunningUnderWine(void) {
    static const BOOL underWine = DetectWine();
    return underWine;
}
