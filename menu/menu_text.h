// What the history menu's labels and preview treat as the end of a line, and where they
// may cut a text without leaving half of a surrogate pair.
#pragma once

#include "platform/platform.h"

// A lone LF, a lone CR and CR LF each end a line.
inline int IsLineEnd(WCHAR ch) { return ch == TEXT('\r') || ch == TEXT('\n'); }
inline int IsHighSurrogate(WCHAR ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
inline int IsLowSurrogate(WCHAR ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }
// 1 when the units last and next are the two halves of one pair, so that a cut between
// them would leave a stray half.
inline int IsPair(WCHAR last, WCHAR next) { return IsHighSurrogate(last) && IsLowSurrogate(next); }

// Puts the first line of src into dst with its tabs expanded to stops every tabSize
// columns, at most count - 1 units (count >= 1), and returns its length. dst is not
// terminated. *used (where used is not NULL) is the number of units of src taken; *next
// is the unit that would have followed within the line (a space inside a tab), 0 when the
// line ended.
int ExpandLineTabs(WCHAR* dst, int count, LPCWSTR src, int tabSize, int* used, WCHAR* next);
