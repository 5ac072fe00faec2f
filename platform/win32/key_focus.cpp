// keybd_event that waits for the foreground application to take the focus.
#include "win32_platform.h"

#undef keybd_event

#include <string.h>

#define FOCUS_WAIT_STEP_MS 10
#define FOCUS_WAIT_STEPS 50

// Whether a key sent now has a window to go to: the foreground window's thread has taken
// the focus. While the foreground passes from Zarvic to the application, Wine can report
// no foreground window at all for a while (measured: up to 200 ms); a key sent then goes
// nowhere.
static int ForegroundTakesKeys(void) {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 0;
    DWORD thread = GetWindowThreadProcessId(foreground, NULL);
    if (thread == GetCurrentThreadId()) return 1;
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread, &info)) return 1;
    return info.hwndFocus != NULL;
}

// Whether the application can read the clipboard when the keys ask it to paste. Wine's
// clipboard manager holds the clipboard open for a moment after it changes; a paste
// that comes then finds nothing to read.
static int ClipboardIsFree(void) { return GetOpenClipboardWindow() == NULL; }

VOID KeybdEventToFocus(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) {
    for (int i = 0; i < FOCUS_WAIT_STEPS && !(ForegroundTakesKeys() && ClipboardIsFree()); ++i)
        Sleep(FOCUS_WAIT_STEP_MS);
    keybd_event(vk, scan, flags, extraInfo);
}
