// Device contexts handed out by GetDC and BeginPaint.
#pragma once

#include "state.h"

namespace sim {

struct DeviceContext {
    HWND hwnd = nullptr;
    int program = 0;
};

struct DcTable {
    std::map<uintptr_t, DeviceContext> contexts;
};

DcTable& Dcs();
DeviceContext* FindDc(HDC dc);

}  // namespace sim
