// System colours: the device's flagged indexes mapped to desktop Windows' bare ones.
#include "win32_platform.h"

#undef GetSysColor
#undef GetSysColorBrush

DWORD BridgeGetSysColor(int index) { return GetSysColor(index & ~SYS_COLOR_INDEX_FLAG); }

HBRUSH BridgeGetSysColorBrush(int index) { return GetSysColorBrush(index & ~SYS_COLOR_INDEX_FLAG); }
