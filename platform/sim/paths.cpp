// The device's paths are always full and its names long: a path is compared as written.
#include "sim_api.h"

#include "state.h"

using namespace sim;

BOOL GetComparablePath(LPCWSTR path, LPWSTR out, DWORD units) {
    Record("GetComparablePath", {});
    if (!path || !out || units == 0) return FALSE;
    DWORD length = 0;
    while (path[length]) ++length;
    if (length >= units) return FALSE;
    for (DWORD i = 0; i <= length; ++i) out[i] = path[i];
    return TRUE;
}

BOOL GetRemoveProgramsPanel(LPWSTR program, LPWSTR parameters) {
    if (!program || !parameters) return FALSE;
    const char16_t panel[] = u"\\Windows\\ctlpnl.exe";
    const char16_t page[] = u"cplmain.cpl,12";
    for (size_t i = 0; i < sizeof(panel) / sizeof(panel[0]); ++i) program[i] = panel[i];
    for (size_t i = 0; i < sizeof(page) / sizeof(page[0]); ++i) parameters[i] = page[i];
    return TRUE;
}
