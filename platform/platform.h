// The one header the program's logic includes to reach its platform. Three backends
// offer the same operations: the logic calls them by their Win32 names, and the few that
// no Windows CE export provides by its name are the project's own (platform_*.h).
#pragma once

#if defined(_WIN32_WCE)
#include "wince/wince_platform.h"  // the Handheld PC itself: only what Windows CE 4.10 has
#elif defined(_WIN32)
#include "win32/win32_platform.h"  // desktop Windows, made to behave as the device
#else
#include "sim/sim_api.h"  // the simulated Handheld PC on the build host
#endif
