// Privacy marks on the clipboard, as password managers set them.
#include "history/clip_marks.h"

static int HasClipboardFormat(LPCWSTR name) {
    UINT format = RegisterClipboardFormatW(name);
    return format != 0 && IsClipboardFormatAvailable(format);
}

// Whether the registered format holds a 32-bit 0; any other data (or none) says nothing.
// A block of another program's heap has no size to ask (LocalSize answers 0): the mark
// is read as the 32-bit value it is meant to be, so that it cannot fail open.
static int HoldsDwordZero(LPCWSTR name) {
    UINT format = RegisterClipboardFormatW(name);
    if (format == 0 || !IsClipboardFormatAvailable(format)) return 0;
    const BYTE* data = static_cast<const BYTE*>(GetClipboardData(format));
    if (!data) return 0;
    size_t size = LocalSize(const_cast<BYTE*>(data));
    if (size != 0 && size < sizeof(DWORD)) return 0;
    return (data[0] | data[1] | data[2] | data[3]) == 0;
}

int IsClipboardMarkedPrivate() {
    if (HoldsDwordZero(TEXT("CanIncludeInClipboardHistory"))) return 1;
    if (HasClipboardFormat(TEXT("ExcludeClipboardContentFromMonitorProcessing"))) return 1;
    return HasClipboardFormat(TEXT("Clipboard Viewer Ignore"));
}
