// Modal dialogs from templates.
#include "state.h"

using namespace sim;

INT_PTR DialogBoxIndirectParamW(HINSTANCE, LPCDLGTEMPLATEW, HWND, DLGPROC, LPARAM) {
    Fail(ERROR_INVALID_PARAMETER);
    return -1;
}

BOOL EndDialog(HWND, INT_PTR) { return FALSE; }
