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
void CreateRegistryKey(const std::u16string& key);
void DeleteRegistryKey(const std::u16string& key);
void SetRegistryValue(const std::u16string& key, const std::u16string& name, DWORD type,
                      const std::vector<uint8_t>& data);
void SetRegistryDword(const std::u16string& key, const std::u16string& name, DWORD value);
void SetRegistryString(const std::u16string& key, const std::u16string& name, const std::u16string& value);
// Keys a program opened and has not closed.
size_t OpenRegistryKeys();

}  // namespace sim
