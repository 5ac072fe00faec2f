// Tab expansion shared by the history menu's labels and its preview.
#include "menu/menu_text.h"

int ExpandLineTabs(WCHAR* dst, int count, LPCWSTR src, int tabSize, int* used, WCHAR* next) {
    int length = 0, i = 0;
    *next = 0;
    for (; src[i] && !IsLineEnd(src[i]); ++i) {
        int spaces = src[i] == TEXT('\t') ? tabSize - length % tabSize : 0;
        if (length >= count - 1) {
            *next = spaces ? TEXT(' ') : src[i];
            break;
        }
        if (!spaces) {
            dst[length++] = src[i];
            continue;
        }
        // the spaces of a tab stop at the bound like any other character
        for (; spaces > 0 && length < count - 1; --spaces) dst[length++] = TEXT(' ');
        if (spaces) {
            *next = TEXT(' ');
            break;
        }
    }
    if (used) *used = i;
    return length;
}
