// Device contexts: every GetDC is released with ReleaseDC, and the device counts the
// ones still out. A fresh context carries the system font and the window colours; the
// context of a popup menu's window ("MNU") carries the popup-menu font and the menu
// colours, as the device's menus draw with them.
#include "dc.h"
#include "monitors.h"

#include "gdi.h"

namespace sim {

DcTable& Dcs() { return PartOf(S().dcs); }

HGDIOBJ Device::FontSelectedInto(HDC dc) const {
    DeviceContext* context = FindDc(dc);
    return context ? context->font : nullptr;
}

DeviceContext* FindDc(HDC dc) {
    auto it = Dcs().contexts.find(reinterpret_cast<uintptr_t>(dc));
    return it == Dcs().contexts.end() ? nullptr : &it->second;
}

HDC OpenDc(HWND hwnd, bool paint) {
    Window* w = FindWin(hwnd);
    if (hwnd && !w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    bool menu = w && Lower(w->className) == u"mnu";
    HDC dc = reinterpret_cast<HDC>(NewHandle());
    DeviceContext ctx;
    ctx.hwnd = hwnd;
    ctx.program = CurrentProgramId();
    ctx.paint = paint;
    ctx.font = menu ? DevicePopupMenuFont(MonitorNearest(POINT{w->rect.left, w->rect.top}).dpi)
                    : GetStockObject(SYSTEM_FONT);
    ctx.brush = GetStockObject(WHITE_BRUSH);
    ctx.textColor = SysColorValue(menu ? COLOR_MENUTEXT : COLOR_WINDOWTEXT);
    ctx.bkColor = SysColorValue(menu ? COLOR_MENU : COLOR_WINDOW);
    Dcs().contexts[reinterpret_cast<uintptr_t>(dc)] = ctx;
    return dc;
}

bool CloseDc(HDC dc) {
    auto it = Dcs().contexts.find(reinterpret_cast<uintptr_t>(dc));
    if (it == Dcs().contexts.end()) return false;
    HGDIOBJ font = it->second.font;
    Dcs().contexts.erase(it);
    ObjectLeftContext(font);
    return true;
}

size_t Device::OpenDeviceContexts(int program) const {
    size_t n = 0;
    for (auto& [key, ctx] : Dcs().contexts)
        if (ctx.program == program) ++n;
    return n;
}

}  // namespace sim

using namespace sim;

HDC GetDC(HWND hwnd) { return OpenDc(hwnd, false); }

int ReleaseDC(HWND, HDC dc) {
    DeviceContext* ctx = FindDc(dc);
    if (!ctx || ctx->paint) {
        ReportGdiMisuse("ReleaseDC of a context that GetDC did not hand out", dc);
        return 0;
    }
    return CloseDc(dc) ? 1 : 0;
}
