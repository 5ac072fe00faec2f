// Clipboard memory, read within its block.
#include "history/clip_data.h"

#include <string.h>

#include "core/util.h"

int GetClipboardBlock(UINT format, CLIPBOARD_BLOCK* block) {
    block->copy = NULL;
    block->bytes = GetClipboardData(format);
    if (!block->bytes) return 0;
    block->size = LocalSize(const_cast<void*>(block->bytes));
    if (block->size) return 1;
    // LocalSize answers only for the caller's own heap, and the device's clipboard hands
    // out another program's block as it is: the system copies it, whole, into Zarvic's.
    block->copy = GetClipboardDataAlloc(format);
    if (!block->copy) return 0;
    block->bytes = block->copy;
    block->size = LocalSize(block->copy);
    return 1;
}

void ReleaseClipboardBlock(CLIPBOARD_BLOCK* block) {
    if (block->copy) LocalFree(block->copy);
    block->copy = NULL;
}

size_t CountBlockText(const CLIPBOARD_BLOCK* block) {
    return CountUnits(static_cast<const WCHAR*>(block->bytes), block->size / sizeof(WCHAR));
}

int IsBlockText(const CLIPBOARD_BLOCK* block, const WCHAR* text, size_t length) {
    const WCHAR* clip = static_cast<const WCHAR*>(block->bytes);
    size_t limit = block->size / sizeof(WCHAR);
    if (!text || limit == 0 || limit < length || memcmp(clip, text, length * sizeof(WCHAR)) != 0) return 0;
    // The same units: the block's text ends there, at its NUL or at the block's end.
    return limit == length || clip[length] == 0;
}
