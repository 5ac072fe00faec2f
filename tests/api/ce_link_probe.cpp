// One call more than the program makes, for the CE link check: a function coredll exports,
// or with ZARVIC_PROBE_DESKTOP_CALL one only desktop Windows has.
#include "platform/platform.h"

#ifdef ZARVIC_PROBE_DESKTOP_CALL
BOOL ProbeCall(HWND) {
    GUITHREADINFO info;
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(0, &info);
}
#else
BOOL ProbeCall(HWND hwnd) { return IsWindowVisible(hwnd); }
#endif
