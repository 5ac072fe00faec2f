// The caret as the device reports it. On the device GetCaretPos reports the one system
// caret, wherever it is, in screen coordinates. Desktop Windows keeps a caret per thread
// and reports only the calling thread's, in its window's client coordinates; this
// backend finds the caret of the foreground window's thread and reports it on the screen.
#pragma once

#include <windows.h>

BOOL GetForegroundCaretPos(LPPOINT point);

#define GetCaretPos GetForegroundCaretPos
