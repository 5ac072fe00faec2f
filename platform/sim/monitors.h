// The device's screens. A Handheld PC has one screen at 96 DPI, its work area above the
// taskbar. In desktop mode a test gives the device several monitors instead, each with
// its own work area and DPI, placed anywhere on one virtual screen (negative coordinates
// left of and above the primary).
#pragma once

#include <vector>

#include "sim_types.h"

namespace sim {

struct Monitor {
    RECT screen{};
    RECT work{};
    UINT dpi = 96;
};

// The monitors as the device has them now (the device's own screen: one).
std::vector<Monitor> Monitors();
// The monitor that holds point, else the one nearest to it.
Monitor MonitorNearest(POINT point);

}  // namespace sim
