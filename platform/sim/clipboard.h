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

// ---- another application acting on the clipboard (each false while a program holds it open) ----
// Keeps the clipboard open for the given virtual milliseconds (0: until released).
bool HoldClipboardElsewhere(uint32_t milliseconds = 0);
void ReleaseClipboardElsewhere();
bool EmptyClipboardElsewhere();
// Empties the clipboard and puts the text (with its NUL) on it as CF_UNICODETEXT.
bool PutClipboardText(const std::u16string& text);
// Another application that waits for the clipboard: it copies the text the moment a
// program closes the clipboard, before anyone else can open it.
void CopyTextOnceFree(const std::u16string& text);
// Adds the format, without emptying, holding exactly these bytes (no NUL is added).
bool AddClipboardBytes(UINT format, const std::vector<uint8_t>& bytes);
// Adds a format that holds a handle rather than memory (CF_BITMAP), or, with a null
// handle, one that is only offered.
bool AddClipboardHandle(UINT format, HANDLE handle);

// ---- looking at it ----
UINT ClipboardFormatNamed(const std::u16string& name);   // as RegisterClipboardFormatW
std::vector<UINT> ClipboardFormats();
// The CF_UNICODETEXT text up to its NUL, never past its block; none when absent.
std::optional<std::u16string> ClipboardText();
HWND ClipboardOwner();
bool ClipboardIsOpen();

// The clipboard as the desktop backend presents desktop Windows' (off: the device's):
// it keeps a sequence number (QueryClipboardSequenceNumber), and LocalSize answers for
// any block GetClipboardData hands out, as GlobalSize does there, whichever program made it.
void UseDesktopClipboard(bool on);
// Whether LocalSize may answer for this block though it is another program's.
bool LendsClipboardSize(const void* block);

}  // namespace sim
