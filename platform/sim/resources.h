// Icons made from a program's resources, as the rest of the device sees them.
#pragma once

#include "state.h"

namespace sim {

struct IconObject {
    int program = 0;
    int width = 0;
    bool shared = false;   // loaded with LoadIconW: owned by the system, never destroyed
};

const IconObject* FindIcon(HICON icon);

}  // namespace sim
