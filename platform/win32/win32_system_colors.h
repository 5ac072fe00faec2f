// System colours as the device names them. Windows CE numbers its display elements with
// SYS_COLOR_INDEX_FLAG or-ed into the index; desktop Windows knows only the bare index
// and answers 0 (black) or no brush for the flagged one.
#pragma once

#include <windows.h>

#ifndef SYS_COLOR_INDEX_FLAG
#define SYS_COLOR_INDEX_FLAG 0x40000000
#endif

DWORD BridgeGetSysColor(int index);
HBRUSH BridgeGetSysColorBrush(int index);

#define GetSysColor BridgeGetSysColor
#define GetSysColorBrush BridgeGetSysColorBrush
