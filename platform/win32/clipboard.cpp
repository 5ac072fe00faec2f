// The clipboard bridge between the device's local-heap pointers and desktop Windows'
// movable global memory.
#include "win32_platform.h"

#undef GetClipboardData
#undef SetClipboardData
#undef EmptyClipboard
#undef CloseClipboard
#undef LocalSize

#include <string.h>

#define MAX_LOCKED 16

struct LockedData {
    HANDLE handle;
    void* pointer;
};

static LockedData g_locked[MAX_LOCKED];
static int g_lockedCount;

// Formats whose data is a GDI handle rather than global memory.
static int IsHandleFormat(UINT format) {
    return format == CF_BITMAP || format == CF_PALETTE || format == CF_ENHMETAFILE || format == CF_DSPBITMAP ||
           format == CF_DSPENHMETAFILE;
}

static void UnlockAll() {
    for (int i = 0; i < g_lockedCount; i++) GlobalUnlock(g_locked[i].handle);
    g_lockedCount = 0;
}

HANDLE BridgeGetClipboardData(UINT format) {
    HANDLE handle = GetClipboardData(format);
    if (!handle || IsHandleFormat(format)) return handle;
    for (int i = 0; i < g_lockedCount; i++)
        if (g_locked[i].handle == handle) return g_locked[i].pointer;
    if (g_lockedCount == MAX_LOCKED) return NULL;
    void* pointer = GlobalLock(handle);
    if (!pointer) return NULL;
    g_locked[g_lockedCount].handle = handle;
    g_locked[g_lockedCount].pointer = pointer;
    g_lockedCount++;
    return pointer;
}

HANDLE BridgeSetClipboardData(UINT format, HANDLE data) {
    if (!data || IsHandleFormat(format)) return SetClipboardData(format, data);
    SIZE_T size = LocalSize(data);
    if (size == 0) return NULL;
    HGLOBAL global = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!global) return NULL;
    void* target = GlobalLock(global);
    if (!target) {
        GlobalFree(global);
        return NULL;
    }
    memcpy(target, data, size);
    GlobalUnlock(global);
    HANDLE taken = SetClipboardData(format, global);
    if (!taken) {
        GlobalFree(global);
        return NULL;
    }
    LocalFree(data);
    return taken;
}

HANDLE GetClipboardDataAlloc(UINT format) {
    HANDLE handle = GetClipboardData(format);
    if (!handle || IsHandleFormat(format)) return NULL;
    SIZE_T size = GlobalSize(handle);
    if (size == 0) return NULL;
    const void* source = GlobalLock(handle);
    if (!source) return NULL;
    HLOCAL copy = LocalAlloc(LMEM_FIXED, size);
    if (copy) memcpy(copy, source, size);
    GlobalUnlock(handle);
    return copy;
}

BOOL BridgeEmptyClipboard() {
    UnlockAll();
    return EmptyClipboard();
}

BOOL BridgeCloseClipboard() {
    UnlockAll();
    return CloseClipboard();
}

SIZE_T BridgeLocalSize(HLOCAL block) {
    for (int i = 0; i < g_lockedCount; i++)
        if (g_locked[i].pointer == block) return GlobalSize(g_locked[i].handle);
    return LocalSize(block);
}

// Windows answers 0 when it does not tell the number (no access to the window station).
BOOL QueryClipboardSequenceNumber(LPDWORD number) {
    DWORD sequence = GetClipboardSequenceNumber();
    if (sequence == 0) return FALSE;
    *number = sequence;
    return TRUE;
}
