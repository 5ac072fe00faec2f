// The notification area, as tests and the rest of the device see it.
#pragma once

#include "state.h"

namespace sim {

struct TrayIcon {
    HWND hwnd = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    std::u16string tip;
    bool hasIcon = false;
    int iconWidth = 0;
};

struct TrayState {
    std::vector<TrayIcon> icons;
    bool stopped = false;
};

TrayState& Tray();

}  // namespace sim
