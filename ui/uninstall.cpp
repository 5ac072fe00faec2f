// Placeholder uninstall until it lands: never carried out.
#include "ui/uninstall.h"

BOOL IsInstalledCopy(LPCWSTR) { return FALSE; }
BOOL UninstallInstalledCopy(HWND) { return FALSE; }
BOOL UninstallLooseCopy(HWND) { return FALSE; }
