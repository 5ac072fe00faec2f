// The device's registry as tests fill it (HKEY_LOCAL_MACHINE only; programs read it).
#pragma once

#include "state.h"

namespace sim {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

struct RegistryState {
    std::map<std::u16string, std::map<std::u16string, RegistryValue>> keys;  // lower-case key path
    std::map<uintptr_t, std::u16string> open;
};

RegistryState& Registry();

}  // namespace sim
