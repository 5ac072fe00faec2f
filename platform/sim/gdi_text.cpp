// Text and painting through a device context: metrics and extents from the font model,
// DrawTextW, FillRect and the colours and mode they draw with. Everything drawn lands in
// the window's record (see gdi.h).
#include <algorithm>

#include "dc.h"
#include "font_model.h"
#include "gdi.h"

namespace sim {

namespace {

LOGFONTW FontOf(const DeviceContext& ctx) {
    GdiObject* o = FindObject(ctx.font);
    return o ? o->font : SystemLogFont();
}

bool Within(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

// Removes what lies wholly beneath `cover` from a window's record.
void Cover(WindowDrawing& d, const RECT& cover) {
    d.texts.erase(std::remove_if(d.texts.begin(), d.texts.end(),
                                 [&](const TextRun& t) { return Within(Intersect(t.box, t.clip), cover); }),
                  d.texts.end());
    d.fills.erase(std::remove_if(d.fills.begin(), d.fills.end(),
                                 [&](const FilledRect& f) { return Within(f.rect, cover); }),
                  d.fills.end());
}

struct Line {
    std::u16string text;
    int underline = -1;
};

// Resolves "&": "&&" shows one ampersand, "&x" shows x underlined (the last such wins),
// a lone "&" at the end shows nothing.
Line Unprefix(const std::u16string& raw) {
    Line line;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != u'&') {
            line.text += raw[i];
            continue;
        }
        if (i + 1 >= raw.size()) break;
        if (raw[i + 1] != u'&') line.underline = static_cast<int>(line.text.size());
        line.text += raw[++i];
    }
    return line;
}

// Multi-line text breaks at CR LF, at a lone CR and at a lone LF, and nowhere else.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
    std::vector<std::u16string> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        WCHAR c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

std::u16string VisiblePart(const TextRun& run) {
    std::u16string out;
    if (run.box.bottom <= run.clip.top || run.box.top >= run.clip.bottom) return out;
    LONG x = run.box.left;
    bool lastShown = false;
    for (size_t i = 0; i < run.text.size(); ++i) {
        int advance = run.advances[i];
        bool shown = advance == 0 ? lastShown : (x + advance > run.clip.left && x < run.clip.right);
        if (shown) out += run.text[i];
        lastShown = shown;
        x += advance;
    }
    return out;
}

// What was drawn keeps only what lies within the window as it is now.
WindowDrawing& DrawingWithin(HWND hwnd) {
    WindowDrawing& d = Gdi().drawings[reinterpret_cast<uintptr_t>(hwnd)];
    if (hwnd && !FindWin(hwnd)) return d;  // a window that is gone keeps what it last showed
    RECT area = DrawableArea(hwnd);
    // what is drawn is cut to the area as it is drawn: only a changed area cuts it again
    if (d.clipped && SameRect(area, d.clippedTo)) return d;
    d.clipped = true;
    d.clippedTo = area;
    for (FilledRect& f : d.fills) f.rect = Intersect(f.rect, area);
    d.fills.erase(std::remove_if(d.fills.begin(), d.fills.end(),
                                 [](const FilledRect& f) { return f.rect.right <= f.rect.left || f.rect.bottom <= f.rect.top; }),
                  d.fills.end());
    for (TextRun& t : d.texts) t.clip = Intersect(t.clip, area);
    return d;
}

}  // namespace

std::u16string TextRun::Face() const { return FaceOf(font); }

RECT DrawableArea(HWND hwnd) {
    if (Window* w = FindWin(hwnd)) {
        RECT c = ClientRectOf(*w);
        return RECT{0, 0, c.right - c.left, c.bottom - c.top};
    }
    return RECT{0, 0, S().options.screenWidth, S().options.screenHeight};
}

void RecordFill(HWND hwnd, const FilledRect& fill) {
    WindowDrawing& d = DrawingWithin(hwnd);
    Cover(d, fill.rect);
    d.fills.push_back(fill);
}

void RecordText(HWND hwnd, TextRun&& run) {
    WindowDrawing& d = DrawingWithin(hwnd);
    if (run.bkMode == OPAQUE) Cover(d, Intersect(run.box, run.clip));
    d.texts.push_back(std::move(run));
}

WindowDrawing Device::DrawingOf(HWND hwnd) const {
    if (!Gdi().drawings.count(reinterpret_cast<uintptr_t>(hwnd))) return WindowDrawing{};
    WindowDrawing d = DrawingWithin(hwnd);
    for (TextRun& t : d.texts) t.visible = VisiblePart(t);
    return d;
}

void Device::ClearDrawing(HWND hwnd) { Gdi().drawings.erase(reinterpret_cast<uintptr_t>(hwnd)); }

}  // namespace sim

using namespace sim;

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
    Record("GetTextMetricsW", {});
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || !metrics) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    LOGFONTW lf = FontOf(*ctx);
    FontModel m = ModelOf(lf);
    *metrics = TEXTMETRICW{};
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.height - m.ascent;
    metrics->tmExternalLeading = m.externalLeading;
    metrics->tmAveCharWidth = m.narrow;
    metrics->tmMaxCharWidth = std::max({m.narrow, m.wide, m.fullWidth});
    metrics->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
    metrics->tmDigitizedAspectX = metrics->tmDigitizedAspectY = 96;
    metrics->tmFirstChar = 0x20;
    metrics->tmLastChar = 0xFFFC;
    metrics->tmDefaultChar = u'?';
    metrics->tmBreakChar = u' ';
    metrics->tmItalic = lf.lfItalic ? 1 : 0;
    metrics->tmUnderlined = lf.lfUnderline ? 1 : 0;
    metrics->tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    metrics->tmPitchAndFamily = lf.lfPitchAndFamily;
    metrics->tmCharSet = lf.lfCharSet;
    return TRUE;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
    Record("GetTextExtentExPointW", {count, maxExtent});
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || count < 0 || (!text && count > 0) || !size) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    FontModel m = ModelOf(FontOf(*ctx));
    int width = 0, fitting = 0;
    for (int i = 0; i < count; ++i) {
        width += CharAdvance(m, text[i]);
        bool fits = maxExtent < 0 || width <= maxExtent;
        if (fits && fitting == i) fitting = i + 1;
        if (dx && (!fit || fitting > i)) dx[i] = width;
    }
    if (fit) *fit = fitting;
    size->cx = width;
    size->cy = m.height;
    return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || !text || !rect || count < -1) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string all = count == -1 ? std::u16string(text) : std::u16string(text, static_cast<size_t>(count));
    Record("DrawTextW", {static_cast<intptr_t>(format), count}, all);
    if (all.empty()) return 0;
    LOGFONTW lf = FontOf(*ctx);
    FontModel m = ModelOf(lf);
    std::vector<std::u16string> raw;
    if (format & DT_SINGLELINE)
        raw.push_back(std::move(all));
    else
        raw = SplitLines(all);

    std::vector<Line> lines;
    lines.reserve(raw.size());
    int widest = 0;
    for (std::u16string& r : raw) {
        lines.push_back((format & DT_NOPREFIX) ? Line{std::move(r), -1} : Unprefix(r));
        widest = std::max(widest, TextWidth(m, lines.back().text.data(), lines.back().text.size()));
    }
    int height = m.height * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }

    LONG top = rect->top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) top = rect->top + (rect->bottom - rect->top - m.height) / 2;
        else if (format & DT_BOTTOM) top = rect->bottom - m.height;
    }
    RECT area = DrawableArea(ctx->hwnd);
    RECT clip = (format & DT_NOCLIP) ? area : Intersect(*rect, area);
    for (size_t i = 0; i < lines.size(); ++i) {
        Line& line = lines[i];
        int width = TextWidth(m, line.text.data(), line.text.size());
        LONG left = rect->left;
        if (format & DT_CENTER) left = rect->left + (rect->right - rect->left - width) / 2;
        else if (format & DT_RIGHT) left = rect->right - width;
        TextRun run;
        run.text = std::move(line.text);
        run.underline = line.underline;
        run.box = RECT{left, top + m.height * static_cast<LONG>(i), left + width, top + m.height * static_cast<LONG>(i + 1)};
        run.clip = clip;
        run.color = ctx->textColor;
        run.bkMode = ctx->bkMode;
        run.bkColor = ctx->bkColor;
        run.font = lf;
        run.format = format;
        run.formatRect = *rect;
        run.advances.reserve(run.text.size());
        for (WCHAR c : run.text) run.advances.push_back(CharAdvance(m, c));
        RecordText(ctx->hwnd, std::move(run));
    }
    return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? top - rect->top + m.height : height;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || !rect) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    COLORREF color = 0;
    uintptr_t value = reinterpret_cast<uintptr_t>(brush);
    if (value >= 1 && value <= 29) {
        color = SysColorValue(static_cast<int>(value - 1));  // a colour index plus one names its colour
    } else {
        GdiObject* o = FindObject(brush);
        if (!o || o->kind != GdiObject::Kind::Brush) {
            ReportGdiMisuse("FillRect with a handle that is not a brush", brush);
            Fail(ERROR_INVALID_HANDLE);
            return 0;
        }
        if (o->hollow) return 1;
        color = o->sysColor >= 0 ? SysColorValue(o->sysColor) : o->color;
    }
    RECT r = Intersect(*rect, DrawableArea(ctx->hwnd));
    if (r.right > r.left && r.bottom > r.top) RecordFill(ctx->hwnd, FilledRect{r, color});
    return 1;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || (mode != TRANSPARENT && mode != OPAQUE)) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int previous = ctx->bkMode;
    ctx->bkMode = mode;
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0xFFFFFFFF;  // CLR_INVALID
    }
    COLORREF previous = ctx->textColor;
    ctx->textColor = color;
    return previous;
}

COLORREF GetTextColor(HDC dc) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0xFFFFFFFF;
    }
    return ctx->textColor;
}
