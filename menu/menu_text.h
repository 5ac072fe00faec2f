// What the history menu's labels and preview treat as the end of a line.
#pragma once

#include "platform/platform.h"

// A lone LF, a lone CR and CR LF each end a line.
inline int IsLineEnd(WCHAR ch) { return ch == TEXT('\r') || ch == TEXT('\n'); }
