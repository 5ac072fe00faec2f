// The one header the program's logic includes to reach its platform.
#pragma once

#if defined(_WIN32)
#include "win32/win32_platform.h"
#else
#include "sim/sim_api.h"
#endif
