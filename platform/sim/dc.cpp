// Device contexts: every GetDC is released with ReleaseDC, and the device counts the
// ones still out.
#include "dc.h"

namespace sim {

DcTable& Dcs() { return S().Extension<DcTable>("dc"); }

DeviceContext* FindDc(HDC dc) {
    auto it = Dcs().contexts.find(reinterpret_cast<uintptr_t>(dc));
    return it == Dcs().contexts.end() ? nullptr : &it->second;
}

}  // namespace sim

using namespace sim;

HDC GetDC(HWND hwnd) {
    if (hwnd && !FindWin(hwnd)) return nullptr;
    HDC dc = reinterpret_cast<HDC>(NewHandle());
    DeviceContext ctx;
    ctx.hwnd = hwnd;
    ctx.program = CurrentProgramId();
    Dcs().contexts[reinterpret_cast<uintptr_t>(dc)] = ctx;
    return dc;
}

int ReleaseDC(HWND, HDC dc) {
    return Dcs().contexts.erase(reinterpret_cast<uintptr_t>(dc)) ? 1 : 0;
}
