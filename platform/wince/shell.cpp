#include "wince_platform.h"

// The control panel and its Remove Programs applet, where every CE device keeps them.
BOOL GetRemoveProgramsPanel(LPWSTR program, LPWSTR parameters) {
    if (!program || !parameters) return FALSE;
    wcscpy(program, L"\\Windows\\ctlpnl.exe");
    wcscpy(parameters, L"cplmain.cpl,12");
    return TRUE;
}
