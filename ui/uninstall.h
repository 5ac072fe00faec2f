// Uninstall: the installed copy and a loose copy.
#pragma once

#include "platform/platform.h"

BOOL IsInstalledCopy(LPCWSTR directory);
BOOL UninstallInstalledCopy(HWND hwnd);
BOOL UninstallLooseCopy(HWND hwnd);
