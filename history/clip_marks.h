// The marks with which password managers keep a copy out of clipboard histories.
#pragma once

#include "platform/platform.h"

// 1 when the open clipboard carries a mark that asks monitors to leave its content alone:
// "ExcludeClipboardContentFromMonitorProcessing" or "Clipboard Viewer Ignore" (present at
// all), or "CanIncludeInClipboardHistory" holding the 32-bit value 0.
int IsClipboardMarkedPrivate();
