// The desktop's notification area: Windows Vista and later report a choice of the icon by
// keyboard as well as by mouse once the icon asks for callback version 4.
#include "win32_platform.h"

#ifndef NIN_SELECT
#define NIN_SELECT (WM_USER + 0)
#endif
#ifndef NIN_KEYSELECT
#define NIN_KEYSELECT (NIN_SELECT | 1)
#endif
#ifndef NOTIFYICON_VERSION_4
#define NOTIFYICON_VERSION_4 4
#endif

// Whether the shell took version 4: its callbacks then carry the notification in the low
// word of lParam (the icon id in the high word), and a click comes both as its button
// messages and as a select, of which only the select is taken.
static BOOL g_version4;

BOOL EnableNotifyIconKeys(PNOTIFYICONDATAW data) {
    if (!data) return FALSE;
    NOTIFYICONDATAW request = *data;
    request.uVersion = NOTIFYICON_VERSION_4;
    g_version4 = Shell_NotifyIconW(NIM_SETVERSION, &request);
    return g_version4;
}

BOOL IsNotifyIconChoice(LPARAM lParam) {
    if (g_version4) {
        UINT notification = LOWORD(lParam);
        return notification == NIN_SELECT || notification == NIN_KEYSELECT || notification == WM_CONTEXTMENU;
    }
    return lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP;
}
