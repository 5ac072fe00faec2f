// The clipboard watcher: one poll of the clipboard into the history store.
#pragma once

#include "platform/platform.h"

void PollClipboard(HWND hwnd);
