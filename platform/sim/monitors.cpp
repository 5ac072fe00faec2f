// The device's screen, or in desktop mode the monitors a test set.
#include "monitors.h"

#include "../platform_screens.h"
#include "faults.h"
#include "state.h"
#include "tray.h"

namespace sim {

struct MonitorSetup {
    std::vector<Monitor> monitors;  // desktop mode's; none on the device's own screen
};

static std::vector<Monitor>& DesktopMonitors() { return PartOf(S().monitors).monitors; }

void Device::SetMonitors(const std::vector<Monitor>& monitors) { DesktopMonitors() = monitors; }

std::vector<Monitor> Monitors() {
    if (!DesktopMonitors().empty()) return DesktopMonitors();
    const DeviceOptions& o = S().options;
    Monitor device;
    device.screen = RECT{0, 0, o.screenWidth, o.screenHeight};
    device.work = RECT{0, 0, o.screenWidth, o.screenHeight - o.taskbarHeight};
    return {device};
}

// How far point lies outside r, squared; 0 inside.
static long long DistanceSquared(const RECT& r, POINT p) {
    long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

Monitor MonitorNearest(POINT point) {
    std::vector<Monitor> all = Monitors();
    const Monitor* nearest = &all[0];
    for (const Monitor& m : all)
        if (DistanceSquared(m.screen, point) < DistanceSquared(nearest->screen, point)) nearest = &m;
    return *nearest;
}

}  // namespace sim

using namespace sim;

BOOL GetScreenFromPoint(POINT point, SCREENINFO* screen) {
    Record("GetScreenFromPoint", {point.x, point.y});
    if (!screen) return FALSE;
    Monitor m = MonitorNearest(point);
    screen->rcScreen = m.screen;
    // Without a taskbar the whole screen is free.
    screen->rcWork = FaultHere(FaultPoint::WorkAreaQuery) ? m.screen : m.work;
    screen->dpi = m.dpi;
    return TRUE;
}
