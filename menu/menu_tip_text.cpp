// Preparing the preview text: counting and tab expansion.
#include "core/util.h"
#include "menu/menu_text.h"
#include "menu/menu_tip.h"

int CountChars(LPCWSTR text, int bound) { return bound > 0 ? static_cast<int>(CountUnits(text, bound)) : 0; }

int CountTabs(LPCWSTR text, int bound) {
    if (!text) return 0;
    int tabs = 0;
    for (int i = 0; i < bound && text[i]; ++i)
        if (text[i] == TEXT('\t')) ++tabs;
    return tabs;
}

void ExpandTabs(WCHAR* dst, int dstCount, LPCWSTR src, int tabSize) {
    if (!dst || !src || dstCount < 1) return;
    if (tabSize < 1) tabSize = 1;
    int out = 0, column = 0;
    const int last = dstCount - 1;
    for (int i = 0; src[i] && out < last;) {
        WCHAR ch = src[i];
        if (ch == TEXT('\r') && src[i + 1] == TEXT('\n')) {
            dst[out++] = ch;
            if (out < last) dst[out++] = TEXT('\n');
            column = 0;
            i += 2;
        } else if (ch == TEXT('\t')) {
            for (int spaces = tabSize - column % tabSize; spaces > 0 && out < last; --spaces) {
                dst[out++] = TEXT(' ');
                ++column;
            }
            ++i;
        } else {
            if (IsPair(ch, src[i + 1]) && out + 1 == last) break;  // no room for both halves
            dst[out++] = ch;
            column = IsLineEnd(ch) ? 0 : column + 1;
            ++i;
        }
    }
    dst[out] = 0;
}
