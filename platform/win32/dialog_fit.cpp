// Dialogs from the device's templates, shown whole on the desktop.
//
// The templates are laid out for the device's "System" font. Desktop Windows draws that
// name in a wider bitmap font, and Wine in whatever stands in for it, so captions were cut
// off. Here a template is created in the desktop's message font instead, and before the
// dialog's own WM_INITDIALOG runs every caption is measured in its control's font: when one
// does not fit, the dialog and all its controls are stretched by one factor, so that the
// arrangement stays the template's and every caption is shown whole.
#include "win32_platform.h"

#include <math.h>
#include <stddef.h>
#include <string.h>

// Far more than the program's templates take; a larger one is shown as it is.
#define FITTED_TEMPLATE_BYTES 16384
#define DIALOG_PROC_PROPERTY L"Zarvic.DialogProc"
#define CAPTION_UNITS 256
#define CHECK_BOX_PIXELS_AT_96_DPI 13
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

static DLGPROC g_creatingProc;

static const WORD* SkipNameOrOrdinal(const WORD* p, const WORD* end) {
    if (p < end && *p == 0xFFFF) return p + 2;
    while (p < end && *p) ++p;
    return p + 1;
}

static const BYTE* AlignToDword(const BYTE* start, const BYTE* p) {
    return start + (((size_t)(p - start) + 3) & ~(size_t)3);
}

// Where the items of a DIALOG template end, or NULL for a template that runs past limit.
static const BYTE* FindTemplateEnd(const BYTE* start, const BYTE* items, WORD count, const BYTE* limit) {
    const BYTE* p = items;
    for (WORD i = 0; i < count; ++i) {
        p = AlignToDword(start, p) + sizeof(DLGITEMTEMPLATE);
        const WORD* w = SkipNameOrOrdinal((const WORD*)p, (const WORD*)limit);  // class
        w = SkipNameOrOrdinal(w, (const WORD*)limit);                           // caption
        if ((const BYTE*)(w + 1) > limit) return NULL;
        p = (const BYTE*)(w + 1) + *w;                                          // creation data
        if (p > limit) return NULL;
    }
    return p;
}

// The desktop's message font, in points at the system's resolution.
static int GetMessageFont(WORD* points, WCHAR* face) {
    NONCLIENTMETRICSW metrics;
    memset(&metrics, 0, sizeof(metrics));
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return 0;
    LONG height = metrics.lfMessageFont.lfHeight;
    if (height < 0) height = -height;
    int size = MulDiv(height, 72, (int)GetSystemDpi());
    if (size <= 0 || !metrics.lfMessageFont.lfFaceName[0]) return 0;
    *points = (WORD)size;
    lstrcpynW(face, metrics.lfMessageFont.lfFaceName, LF_FACESIZE);
    return 1;
}

// Copies a DIALOG template (not DIALOGEX) with the message font in place of its own. 0
// when the template is left as it is.
static int RefontTemplate(const DLGTEMPLATE* source, BYTE* out, size_t outBytes) {
    const BYTE* start = (const BYTE*)source;
    if (((const WORD*)source)[1] == 0xFFFF || !(source->style & DS_SETFONT)) return 0;
    const BYTE* limit = start + FITTED_TEMPLATE_BYTES;
    const WORD* p = (const WORD*)(source + 1);
    p = SkipNameOrOrdinal(p, (const WORD*)limit);  // menu
    p = SkipNameOrOrdinal(p, (const WORD*)limit);  // class
    p = SkipNameOrOrdinal(p, (const WORD*)limit);  // title
    const BYTE* fontAt = (const BYTE*)p;
    const BYTE* items = AlignToDword(start, (const BYTE*)SkipNameOrOrdinal(p + 1, (const WORD*)limit));
    const BYTE* end = FindTemplateEnd(start, items, source->cdit, limit);
    WORD points;
    WCHAR face[LF_FACESIZE];
    if (!end || !GetMessageFont(&points, face)) return 0;

    size_t head = (size_t)(fontAt - start);
    size_t faceBytes = (wcslen(face) + 1) * sizeof(WCHAR);
    size_t itemsAt = (head + sizeof(WORD) + faceBytes + 3) & ~(size_t)3;
    size_t itemBytes = (size_t)(end - items);
    if (itemsAt + itemBytes > outBytes) return 0;
    memset(out, 0, itemsAt);
    memcpy(out, start, head);
    memcpy(out + head, &points, sizeof(WORD));
    memcpy(out + head + sizeof(WORD), face, faceBytes);
    memcpy(out + itemsAt, items, itemBytes);
    return 1;
}

// The room a control's caption needs beside the caption itself: the box of a check box or
// radio button with its gap, the frame of a push button. 0 for a control without a caption.
static int FindCaptionFrame(HWND control, HDC dc, SIZE* frame, UINT* format) {
    WCHAR className[16];
    if (!GetClassNameW(control, className, 16)) return 0;
    LONG style = GetWindowLongW(control, GWL_STYLE);
    TEXTMETRICW metrics;
    if (!GetTextMetricsW(dc, &metrics)) return 0;
    frame->cx = frame->cy = 0;
    *format = DT_CALCRECT | DT_SINGLELINE;
    if (_wcsicmp(className, L"Static") == 0) {
        LONG type = style & SS_TYPEMASK;
        if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE && type != SS_LEFTNOWORDWRAP)
            return 0;
        if (style & SS_NOPREFIX) *format |= DT_NOPREFIX;
        return 1;
    }
    if (_wcsicmp(className, L"Button") != 0) return 0;
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        frame->cx = MulDiv(CHECK_BOX_PIXELS_AT_96_DPI, (int)GetWindowDpi(control), SCREEN_DEFAULT_DPI) +
                    metrics.tmAveCharWidth + 2;
        return 1;
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        frame->cx = 4 * GetSystemMetrics(SM_CXEDGE) + metrics.tmAveCharWidth;
        frame->cy = 2 * GetSystemMetrics(SM_CYEDGE);
        return 1;
    default:
        return 0;
    }
}

struct Stretch {
    double x, y;
};

// Raises the stretch to what this control's caption needs.
static BOOL CALLBACK MeasureCaption(HWND control, LPARAM lParam) {
    Stretch* stretch = (Stretch*)lParam;
    WCHAR caption[CAPTION_UNITS];
    RECT room;
    if (!GetWindowTextW(control, caption, CAPTION_UNITS) || !GetClientRect(control, &room)) return TRUE;
    HDC dc = GetDC(control);
    if (!dc) return TRUE;
    HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
    HGDIOBJ previous = SelectObject(dc, font ? (HGDIOBJ)font : GetStockObject(SYSTEM_FONT));
    SIZE frame;
    UINT format;
    RECT text = {0, 0, 0, 0};
    if (FindCaptionFrame(control, dc, &frame, &format) && DrawTextW(dc, caption, -1, &text, format)) {
        LONG needX = text.right + frame.cx, needY = text.bottom + frame.cy;
        if (room.right > 0 && needX > room.right && needX > stretch->x * room.right)
            stretch->x = (double)needX / room.right;
        if (room.bottom > 0 && needY > room.bottom && needY > stretch->y * room.bottom)
            stretch->y = (double)needY / room.bottom;
    }
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return TRUE;
}

static BOOL CALLBACK StretchControl(HWND control, LPARAM lParam) {
    const Stretch* stretch = (const Stretch*)lParam;
    if (GetParent(control) == NULL) return TRUE;
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), (POINT*)&r, 2);
    LONG left = (LONG)floor(r.left * stretch->x), top = (LONG)floor(r.top * stretch->y);
    LONG right = (LONG)ceil(r.right * stretch->x), bottom = (LONG)ceil(r.bottom * stretch->y);
    SetWindowPos(control, NULL, left, top, right - left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

// Gives every caption of the dialog the room it needs by stretching the dialog and all its
// controls alike.
static void FitCaptions(HWND dialog) {
    Stretch stretch = {1.0, 1.0};
    EnumChildWindows(dialog, MeasureCaption, (LPARAM)&stretch);
    if (stretch.x <= 1.0 && stretch.y <= 1.0) return;
    EnumChildWindows(dialog, StretchControl, (LPARAM)&stretch);
    RECT client;
    GetClientRect(dialog, &client);
    RECT frame = {0, 0, (LONG)ceil(client.right * stretch.x), (LONG)ceil(client.bottom * stretch.y)};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongW(dialog, GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongW(dialog, GWL_EXSTYLE));
    SetWindowPos(dialog, NULL, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Stands before the program's dialog procedure: fits the captions before it sees
// WM_INITDIALOG (it centres the dialog by its size then), and again once Windows has laid
// the dialog out anew for a monitor of another DPI.
static INT_PTR CALLBACK FittingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    static UINT refit = RegisterWindowMessageW(L"Zarvic.FitCaptions");
    DLGPROC proc = (DLGPROC)GetPropW(dialog, DIALOG_PROC_PROPERTY);
    if (!proc) {
        proc = g_creatingProc;
        if (!proc || !SetPropW(dialog, DIALOG_PROC_PROPERTY, (HANDLE)proc)) return FALSE;
    }
    if (message == WM_INITDIALOG) FitCaptions(dialog);
    if (message == WM_DPICHANGED) PostMessageW(dialog, refit, 0, 0);
    if (refit && message == refit) {
        FitCaptions(dialog);
        return TRUE;
    }
    INT_PTR result = proc(dialog, message, wParam, lParam);
    if (message == WM_NCDESTROY) RemovePropW(dialog, DIALOG_PROC_PROPERTY);
    return result;
}

INT_PTR DialogBoxFitted(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                        LPARAM param) {
    if (!dialogTemplate || !proc) return DialogBoxIndirectParamW(instance, dialogTemplate, owner, proc, param);
    // DWORD-aligned, as a template must be.
    static DWORD fitted[FITTED_TEMPLATE_BYTES / sizeof(DWORD)];
    LPCDLGTEMPLATEW shown = dialogTemplate;
    if (RefontTemplate(dialogTemplate, (BYTE*)fitted, sizeof(fitted))) shown = (LPCDLGTEMPLATEW)fitted;
    DLGPROC outer = g_creatingProc;
    g_creatingProc = proc;
    INT_PTR result = DialogBoxIndirectParamW(instance, shown, owner, FittingDialogProc, param);
    g_creatingProc = outer;
    return result;
}
