#include "wince_platform.h"

// The device's Shell_NotifyIcon has one callback form: lParam is the stylus message, and a
// tap ends with the button up.
BOOL EnableNotifyIconKeys(PNOTIFYICONDATAW data) { return data != NULL; }

BOOL IsNotifyIconChoice(LPARAM lParam) { return lParam == WM_LBUTTONUP; }
