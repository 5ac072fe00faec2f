// GDI objects of the device: stock objects, fonts, system-colour brushes and the colour
// scheme. Objects a program creates are on record until it deletes them, so a leaked
// font shows; misuse (deleting a font still selected, using a handle that is gone) is
// reported to the tests rather than crashing the program.
#include "gdi.h"

#include <cstring>

#include "dc.h"
#include "faults.h"
#include "font_model.h"

namespace sim {

namespace {

constexpr uintptr_t kStockBase = 0x100;
constexpr uintptr_t kSysBrushBase = 0x200;
constexpr int kSysColorCount = 29;  // COLOR_SCROLLBAR to the device's COLOR_GRADIENTINACTIVECAPTION

// The device's colour scheme.
const COLORREF kDefaultColors[kSysColorCount] = {
    RGB(192, 192, 192), RGB(0, 128, 128), RGB(0, 0, 128),     RGB(128, 128, 128), RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),     RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(192, 192, 192), RGB(128, 128, 128), RGB(0, 0, 128),   RGB(255, 255, 255),
    RGB(192, 192, 192), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),     RGB(192, 192, 192),
    RGB(255, 255, 255), RGB(0, 0, 0),     RGB(192, 192, 192), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(192, 192, 192), RGB(0, 0, 0),     RGB(0, 0, 128),     RGB(128, 128, 128)};

const COLORREF kStockBrushColors[] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                                      RGB(64, 64, 64), RGB(0, 0, 0)};

// The index a caller means: the device names its colours with SYS_COLOR_INDEX_FLAG, and
// takes the bare index for the same element, as it masks the flag off; -1 when no such colour.
int ColorIndex(int index) {
    int bare = index & ~SYS_COLOR_INDEX_FLAG;
    return bare >= 0 && bare < kSysColorCount ? bare : -1;
}

HGDIOBJ Handle(uintptr_t key) { return reinterpret_cast<HGDIOBJ>(key); }
uintptr_t Key(const void* handle) { return reinterpret_cast<uintptr_t>(handle); }

bool SelectedAnywhere(HGDIOBJ object) {
    for (auto& [key, ctx] : Dcs().contexts)
        if (ctx.font == object || ctx.brush == object) return true;
    return false;
}

void Free(HGDIOBJ object) {
    Gdi().objects.erase(Key(object));
    Gdi().deleted.insert(Key(object));
}

// The object a call names, or null (reported) when it is gone or never was one.
GdiObject* LiveObject(const char* call, HGDIOBJ object) {
    GdiObject* o = FindObject(object);
    if (o && !o->deletePending) return o;
    bool deleted = o || Gdi().deleted.count(Key(object));
    ReportGdiMisuse(std::string(call) + (deleted ? " of an object already deleted" : " of a handle that is not a GDI object"),
                    object);
    Fail(ERROR_INVALID_HANDLE);
    return nullptr;
}

}  // namespace

GdiState& Gdi() {
    GdiState& g = PartOf(S().gdi);
    if (g.objects.empty() && g.deleted.empty()) {
        for (int i = WHITE_BRUSH; i <= NULL_PEN; ++i) {
            GdiObject stock;
            stock.kind = i <= NULL_BRUSH ? GdiObject::Kind::Brush : GdiObject::Kind::Pen;
            stock.shared = true;
            stock.hollow = i == NULL_BRUSH || i == NULL_PEN;
            stock.color = i <= BLACK_BRUSH ? kStockBrushColors[i] : (i == WHITE_PEN ? RGB(255, 255, 255) : 0);
            g.objects[kStockBase + static_cast<uintptr_t>(i) * 4] = stock;
        }
        for (int i : {SYSTEM_FONT, DEFAULT_GUI_FONT}) {
            GdiObject font;
            font.shared = true;
            font.font = SystemLogFont();
            g.objects[kStockBase + static_cast<uintptr_t>(i) * 4] = font;
        }
    }
    return g;
}

GdiObject* FindObject(HGDIOBJ handle) {
    auto it = Gdi().objects.find(Key(handle));
    return it == Gdi().objects.end() ? nullptr : &it->second;
}

HGDIOBJ Device::PopupMenuFont() const { return DevicePopupMenuFont(); }
LOGFONTW Device::PopupMenuLogFont() const { return sim::PopupMenuLogFont(); }

HGDIOBJ DevicePopupMenuFont(UINT dpi) {
    LOGFONTW lf = PopupMenuLogFont();
    // recorded at 96 DPI; a screen of another resolution scales it
    if (dpi != 96 && dpi > 0) lf.lfHeight = lf.lfHeight * static_cast<LONG>(dpi) / 96;
    std::vector<uint8_t> bytes(sizeof lf);
    std::memcpy(bytes.data(), &lf, sizeof lf);
    for (auto& [known, handle] : Gdi().deviceFonts)
        if (known == bytes) return handle;
    HGDIOBJ handle = NewHandle();
    GdiObject font;
    font.shared = true;
    font.font = lf;
    Gdi().objects[Key(handle)] = font;
    Gdi().deviceFonts.emplace_back(bytes, handle);
    return handle;
}

void ObjectLeftContext(HGDIOBJ object) {
    GdiObject* o = FindObject(object);
    if (o && o->deletePending && !SelectedAnywhere(object)) Free(object);
}

void ReportGdiMisuse(const std::string& what, const void* handle) {
    Gdi().misuses.push_back(GdiMisuse{CurrentProgramId(), what, const_cast<void*>(handle)});
}

COLORREF SysColorValue(int index) {
    int i = ColorIndex(index);
    if (i < 0) return 0;
    auto it = Gdi().sysColors.find(i);
    return it != Gdi().sysColors.end() ? it->second : kDefaultColors[i];
}

std::vector<std::pair<HGDIOBJ, GdiObject>> Device::LiveGdiObjects(int program) const {
    std::vector<std::pair<HGDIOBJ, GdiObject>> out;
    for (auto& [key, o] : Gdi().objects)
        if (!o.shared && o.program == program) out.emplace_back(Handle(key), o);
    return out;
}

std::vector<GdiMisuse> Device::GdiMisuses(int program) const {
    std::vector<GdiMisuse> out;
    for (const GdiMisuse& m : Gdi().misuses)
        if (program == 0 || m.program == program) out.push_back(m);
    return out;
}

void Device::SetSysColorValue(int index, COLORREF color) {
    int i = ColorIndex(index);
    if (i >= 0) Gdi().sysColors[i] = color;
}


}  // namespace sim

using namespace sim;

HGDIOBJ GetStockObject(int index) {
    if (!FindObject(Handle(kStockBase + static_cast<uintptr_t>(index) * 4)) || index < 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Handle(kStockBase + static_cast<uintptr_t>(index) * 4);
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
    Record("CreateFontIndirectW",
           font ? std::vector<intptr_t>{font->lfHeight, font->lfWeight, font->lfItalic, font->lfCharSet}
                : std::vector<intptr_t>{},
           font ? FaceOf(*font) : u"");
    if (!font) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (FaultHere(FaultPoint::GdiObject)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    GdiObject o;
    o.program = CurrentProgramId();
    o.font = *font;
    HGDIOBJ handle = NewHandle();
    Gdi().objects[Key(handle)] = o;
    return static_cast<HFONT>(handle);
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    GdiObject* o = FindObject(object);
    if (!o) {
        if (object) ReportGdiMisuse("GetObjectW of a handle that is not a GDI object", object);
        Fail(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (o->kind != GdiObject::Kind::Font) return 0;  // the device describes fonts only
    if (!buffer) return static_cast<int>(sizeof(LOGFONTW));
    if (size <= 0) return 0;
    size_t n = std::min(static_cast<size_t>(size), sizeof(LOGFONTW));
    std::memcpy(buffer, &o->font, n);
    return static_cast<int>(n);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx) {
        ReportGdiMisuse("SelectObject into a context that does not exist", dc);
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    GdiObject* o = LiveObject("SelectObject", object);
    if (!o) return nullptr;
    if (o->kind == GdiObject::Kind::Pen) return GetStockObject(BLACK_PEN);  // the device draws no lines
    HGDIOBJ& slot = o->kind == GdiObject::Kind::Font ? ctx->font : ctx->brush;
    HGDIOBJ previous = slot;
    slot = object;
    ObjectLeftContext(previous);
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    Record("DeleteObject", {reinterpret_cast<intptr_t>(object)});
    GdiObject* o = LiveObject("DeleteObject", object);
    if (!o) return FALSE;
    if (o->shared) return TRUE;  // stock and system objects cannot be deleted, harmlessly
    if (SelectedAnywhere(object)) {
        ReportGdiMisuse("DeleteObject of an object still selected into a context", object);
        o->deletePending = true;
        return TRUE;
    }
    Free(object);
    return TRUE;
}

DWORD GetSysColor(int index) {
    Record("GetSysColor", {index});
    if (ColorIndex(index) < 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return SysColorValue(index);
}

HBRUSH GetSysColorBrush(int index) {
    Record("GetSysColorBrush", {index});
    int i = ColorIndex(index);
    if (i < 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    uintptr_t key = kSysBrushBase + static_cast<uintptr_t>(i) * 4;
    GdiObject brush;
    brush.kind = GdiObject::Kind::Brush;
    brush.shared = true;
    brush.sysColor = i;
    Gdi().objects[key] = brush;
    return static_cast<HBRUSH>(Handle(key));
}
