// Privacy marks on the clipboard, as password managers set them.
#include "history/clip_marks.h"

#include "history/clip_data.h"

static int HasClipboardFormat(LPCWSTR name) {
    UINT format = RegisterClipboardFormatW(name);
    return format != 0 && IsClipboardFormatAvailable(format);
}

// Whether the registered format holds a 32-bit 0; any other data says nothing. A mark that
// is there but cannot be read counts as set, so that it cannot fail open.
static int HoldsDwordZero(LPCWSTR name) {
    UINT format = RegisterClipboardFormatW(name);
    if (format == 0 || !IsClipboardFormatAvailable(format)) return 0;
    CLIPBOARD_BLOCK block;
    if (!GetClipboardBlock(format, &block)) return 1;
    const BYTE* data = static_cast<const BYTE*>(block.bytes);
    int zero = block.size >= sizeof(DWORD) && (data[0] | data[1] | data[2] | data[3]) == 0;
    ReleaseClipboardBlock(&block);
    return zero;
}

int IsClipboardMarkedPrivate() {
    if (HoldsDwordZero(TEXT("CanIncludeInClipboardHistory"))) return 1;
    if (HasClipboardFormat(TEXT("ExcludeClipboardContentFromMonitorProcessing"))) return 1;
    return HasClipboardFormat(TEXT("Clipboard Viewer Ignore"));
}
