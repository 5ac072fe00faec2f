// The foreground application's caret, in screen coordinates. Desktop Windows keeps a caret
// per thread and GetCaretPos reports only the calling thread's, in its window's client
// coordinates: the caret of the foreground window's thread is asked for instead.
#include "win32_platform.h"

#include <string.h>

BOOL GetForegroundCaretPos(LPPOINT point) {
    if (!point) return FALSE;
    HWND foreground = GetForegroundWindow();
    // Thread 0 asks for the foreground thread, which serves when there is no window.
    DWORD thread = foreground ? GetWindowThreadProcessId(foreground, NULL) : 0;
    GUITHREADINFO info;
    memset(&info, 0, sizeof(info));
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(thread, &info) || !info.hwndCaret) return FALSE;
    POINT at = {info.rcCaret.left, info.rcCaret.top};
    if (!ClientToScreen(info.hwndCaret, &at)) return FALSE;
    *point = at;
    return TRUE;
}
