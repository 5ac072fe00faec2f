// Whether this copy runs under Wine rather than on Windows. Wine's own ntdll.dll exports
// wine_get_version; no Windows ntdll.dll does. The answer is taken once, when the
// program creates its main window at start-up, and kept: a workaround for Wine runs
// only where it is asked, and real Windows always gets the plain Win32 path.
#pragma once

#include <windows.h>

BOOL IsRunningUnderWine(void);
