// Clipboard memory on desktop Windows, bridged to the device's convention.
//
// The device hands out and takes plain local-heap pointers: GetClipboardData gives a
// pointer to read, SetClipboardData takes a LocalAlloc block and owns it on success, and
// LocalSize of the pointer GetClipboardData gave is the size of its block where the
// platform knows it (the device answers 0 for another program's). Desktop Windows
// deals in movable global handles instead; these replacements translate between the two
// so that nothing leaks or is freed twice on either side.
#pragma once

#include <windows.h>

// Locks the handle and keeps it locked until the clipboard is emptied or closed.
HANDLE BridgeGetClipboardData(UINT format);
// Copies the local block into movable global memory and frees the block only once the
// system has taken the copy; on failure the block is still the caller's.
HANDLE BridgeSetClipboardData(UINT format, HANDLE data);
BOOL BridgeEmptyClipboard();
BOOL BridgeCloseClipboard();
// GlobalSize for a pointer BridgeGetClipboardData handed out, LocalSize for anything else.
SIZE_T BridgeLocalSize(HLOCAL block);
// The device's GetClipboardDataAlloc, which desktop Windows lacks: a copy of the format's
// global memory, whole, in a LocalAlloc block the caller frees. Zarvic asks for it only
// where LocalSize cannot tell a clipboard block's size, which GlobalSize always can here.
HANDLE GetClipboardDataAlloc(UINT format);

#define GetClipboardData BridgeGetClipboardData
#define SetClipboardData BridgeSetClipboardData
#define EmptyClipboard BridgeEmptyClipboard
#define CloseClipboard BridgeCloseClipboard
#define LocalSize BridgeLocalSize
