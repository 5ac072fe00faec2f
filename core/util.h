// Small file and geometry helpers shared across Zarvic.
#pragma once

#include "platform/platform.h"

// The number of code units before text's NUL, never counting past bound units (the text
// need not hold a NUL within them); 0 for no text.
size_t CountUnits(const WCHAR* text, size_t bound);

int IsExistingFile(LPCWSTR path);
int IsExistingDirectory(LPCWSTR path);
WCHAR* FindLastChar(WCHAR* text, WCHAR ch);
int ClientRectToScreen(HWND hwnd, RECT* rect);

// Writes dir, a backslash and name into out (MAX_PATH units). When the result would not
// fit, out is left empty and 0 is returned.
int JoinPath(WCHAR* out, LPCWSTR dir, LPCWSTR name);
