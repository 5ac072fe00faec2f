// A text editor the device provides, used as a person would: typed into when it is the
// foreground window, with a caret, a selection, Ctrl+C, Ctrl+X and Ctrl+V.
#pragma once

#include "state.h"

namespace sim {

}  // namespace sim
