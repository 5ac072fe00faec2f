// Placeholder shortcut operations until real shell links land.
#include "win32_platform.h"

BOOL SHCreateShortcut(LPWSTR, LPWSTR) { return FALSE; }
BOOL SHGetShortcutTarget(LPWSTR, LPWSTR, int) { return FALSE; }
