// One format's memory on the open clipboard, read within its block wherever the block is.
#pragma once

#include "platform/platform.h"

// What GetClipboardBlock hands out: the bytes and how many of them the block spans. Where
// the platform cannot tell the size of the block GetClipboardData gives (another
// program's, on the device), the bytes are the system's copy in Zarvic's own heap.
struct CLIPBOARD_BLOCK {
    const void* bytes;  // a local-heap block: aligned for any type, its text for WCHAR
    size_t size;
    HLOCAL copy;
};

// 1 when the open clipboard handed out the format's memory; 0 when it did not (its owner
// could not render it, or memory ran short). Release it before the clipboard is closed.
int GetClipboardBlock(UINT format, CLIPBOARD_BLOCK* block);
void ReleaseClipboardBlock(CLIPBOARD_BLOCK* block);
// The number of code units before the NUL of the block's text, never past the block's end
// (the text need not hold a NUL).
size_t CountBlockText(const CLIPBOARD_BLOCK* block);
// Whether the block's text is exactly this text of `length` units, compared in place and
// never past the block's end. A block too small for even the NUL holds no text.
int IsBlockText(const CLIPBOARD_BLOCK* block, const WCHAR* text, size_t length);
