// Device contexts handed out by GetDC and BeginPaint, with what is selected into them.
#pragma once

#include "state.h"

namespace sim {

struct DeviceContext {
    HWND hwnd = nullptr;
    int program = 0;
    bool paint = false;              // from BeginPaint, given back by EndPaint
    HGDIOBJ font = nullptr;
    HGDIOBJ brush = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    int bkMode = OPAQUE;
};

struct DcTable {
    std::map<uintptr_t, DeviceContext> contexts;
};

DcTable& Dcs();
DeviceContext* FindDc(HDC dc);
// Gives a context out as GetDC does; paint marks the one BeginPaint hands out.
HDC OpenDc(HWND hwnd, bool paint);
// Takes a context back; false when there is no such context.
bool CloseDc(HDC dc);

}  // namespace sim
