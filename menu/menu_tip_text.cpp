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
    int out = 0;
    const int last = dstCount - 1;
    for (;;) {
        int used = 0;
        WCHAR next = 0;
        out += ExpandLineTabs(dst + out, dstCount - out, src, tabSize, &used, &next);
        src += used;
        if (next || !IsLineEnd(*src) || out == last) {
            if (out > 0 && IsPair(dst[out - 1], next)) --out;  // no room for both halves
            break;
        }
        dst[out++] = *src;
        if (src[0] == TEXT('\r') && src[1] == TEXT('\n')) {
            if (out < last) dst[out++] = TEXT('\n');
            ++src;
        }
        ++src;
    }
    dst[out] = 0;
}
