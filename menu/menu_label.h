// The texts the history menu's items show: an entry's first line, and that line fitted to
// the menu's width.
#pragma once

#include "platform/platform.h"

// 128 characters and the terminator.
#define MENU_LABEL_UNITS 129
#define MENU_LABEL_TAB_SIZE 4
// A label seldom holds more than a few dozen units: a line is measured over this many
// first, and further only while all of them fit.
#define MENU_MEASURE_FIRST_UNITS 32

// Copies the first line of src (up to the terminator, a CR or an LF, at most count - 1
// characters) into dst, terminated. Returns dst.
WCHAR* CopyFirstLine(WCHAR* dst, LPCWSTR src, int count);
// Copies the first line of src into dst with tabs expanded, cut where it grows wider than
// width pixels in the menu font (in dc) and then ended with dots. Returns dst.
WCHAR* FitTextToWidth(HDC dc, WCHAR* dst, LPCWSTR src, int count, int width, int tabSize);
// The label FitTextToWidth makes, kept within room pixels: the width its dots take is kept
// free for them, and a line shown whole that still runs past room is cut with dots too.
WCHAR* FitLabelToRoom(HDC dc, WCHAR* dst, LPCWSTR src, int count, int room, int tabSize);
