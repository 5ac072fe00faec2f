// Placeholder watcher: takes nothing until the clipboard watcher lands.
#include "history/watcher.h"

void PollClipboard(HWND) {}
