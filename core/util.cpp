#include "core/util.h"

// GetFileAttributesW's failure value; the device's headers give it no name.
static const DWORD kNoAttributes = 0xFFFFFFFF;

static DWORD AttributesOf(LPCWSTR path) {
    if (!path || !path[0]) return kNoAttributes;
    return GetFileAttributesW(path);
}

size_t CountUnits(const WCHAR* text, size_t bound) {
    if (!text) return 0;
    size_t n = 0;
    while (n < bound && text[n]) n++;
    return n;
}

int IsExistingFile(LPCWSTR path) {
    DWORD attributes = AttributesOf(path);
    if (attributes == kNoAttributes) return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
}

int IsExistingDirectory(LPCWSTR path) {
    DWORD attributes = AttributesOf(path);
    if (attributes == kNoAttributes) return 0;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
}

WCHAR* FindLastChar(WCHAR* text, WCHAR ch) {
    WCHAR* last = NULL;
    for (WCHAR* p = text; *p; ++p)
        if (*p == ch) last = p;
    return last;
}

int ClientRectToScreen(HWND hwnd, RECT* rect) {
    POINT topLeft = {rect->left, rect->top};
    POINT bottomRight = {rect->right - 1, rect->bottom - 1};
    MapWindowPoints(hwnd, HWND_DESKTOP, &topLeft, 1);
    MapWindowPoints(hwnd, HWND_DESKTOP, &bottomRight, 1);
    rect->left = topLeft.x;
    rect->top = topLeft.y;
    rect->right = bottomRight.x + 1;
    rect->bottom = bottomRight.y + 1;
    return 1;
}

int JoinPath(WCHAR* out, LPCWSTR dir, LPCWSTR name) {
    size_t dirLength = wcslen(dir);
    size_t nameLength = wcslen(name);
    out[0] = 0;
    if (dirLength + 1 + nameLength > MAX_PATH - 1) return 0;
    wcscpy(out, dir);
    out[dirLength] = TEXT('\\');
    wcscpy(out + dirLength + 1, name);
    return 1;
}
