// GDI objects of the device.
#include "state.h"

using namespace sim;

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(0x100 + index * 4));
}
