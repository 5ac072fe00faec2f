// The device's clipboard, as tests and the device's own programs see it.
//
// Memory formats hold plain local-heap blocks (the device's convention): SetClipboardData
// takes the caller's block and the heap accounting then shows it as the clipboard's
// (kClipboardOwner); GetClipboardData hands out that block, still in its maker's heap:
// another program must not free it, and its LocalSize answers 0 there. Text another
// application puts on the clipboard lives in that application's heap (kElsewhere). GDI
// formats (CF_BITMAP, CF_PALETTE) hold a handle as given.
#pragma once

#include <optional>

#include "state.h"

namespace sim {

struct ClipboardItem {
    UINT format = 0;
    HANDLE data = nullptr;       // null: offered, not rendered
    bool memory = true;          // a heap block the clipboard owns
};

struct ClipboardState {
    bool open = false;
    int opener = 0;              // program id, 0 for the test, kElsewhere for another application
    HWND openWindow = nullptr;
    bool emptiedWithoutOwner = false;
    uint64_t heldUntil = 0;      // another application's hold ends then (0: until released)
    HWND owner = nullptr;
    std::vector<ClipboardItem> items;
    std::map<std::u16string, UINT> registered;  // lower-case name → format
    bool desktop = false;        // see UseDesktopClipboard
    DWORD sequence = 0;          // counts every change of the content
    std::optional<std::u16string> waitingCopy;  // see CopyTextOnceFree
};

ClipboardState& Clipboard();

// Whether LocalSize may answer for this block though it is another program's.
bool LendsClipboardSize(const void* block);

}  // namespace sim
