// The device's registry, read only for programs: tests fill it. RegQueryValueExW keeps
// Win32's size rules: a value larger than the caller's buffer is not read, and the rest
// of a larger buffer is left as it was, here filled with non-zero bytes.
#include "registry.h"

#include <cstring>

#include "faults.h"

namespace sim {

namespace {
constexpr uint8_t kUnwrittenByte = 0xCD;
}

RegistryState& Registry() { return PartOf(S().registry); }

void Device::SetRegistryValue(const std::u16string& key, const std::u16string& name, DWORD type,
                      const std::vector<uint8_t>& data) {
    Registry().keys[Lower(key)][Lower(name)] = RegistryValue{type, data};
}

void Device::SetRegistryDword(const std::u16string& key, const std::u16string& name, DWORD value) {
    std::vector<uint8_t> data(4);
    std::memcpy(data.data(), &value, 4);
    SetRegistryValue(key, name, REG_DWORD, data);
}

void Device::SetRegistryString(const std::u16string& key, const std::u16string& name, const std::u16string& value) {
    std::vector<uint8_t> data((value.size() + 1) * 2, 0);
    std::memcpy(data.data(), value.data(), value.size() * 2);
    SetRegistryValue(key, name, REG_SZ, data);
}

void Device::CreateRegistryKey(const std::u16string& key) { Registry().keys[Lower(key)]; }

void Device::DeleteRegistryKey(const std::u16string& key) { Registry().keys.erase(Lower(key)); }

size_t Device::OpenRegistryKeys() const { return Registry().open.size(); }

}  // namespace sim

using namespace sim;

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, DWORD access, HKEY* result) {
    Record("RegOpenKeyExW", {static_cast<intptr_t>(access)}, FromWide(subKey));
    if (result) *result = nullptr;
    if (key != HKEY_LOCAL_MACHINE || !result) return ERROR_INVALID_PARAMETER;
    if (access & ~static_cast<DWORD>(KEY_READ)) return ERROR_ACCESS_DENIED;
    if (FaultHere(FaultPoint::RegistryOpen)) return ERROR_NOT_ENOUGH_MEMORY;
    std::u16string path = Lower(FromWide(subKey));
    if (!Registry().keys.count(path)) return ERROR_FILE_NOT_FOUND;
    HKEY h = reinterpret_cast<HKEY>(NewHandle());
    Registry().open[reinterpret_cast<uintptr_t>(h)] = path;
    *result = h;
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD, LPDWORD type, LPBYTE data, LPDWORD size) {
    Record("RegQueryValueExW", {}, FromWide(name));
    auto open = Registry().open.find(reinterpret_cast<uintptr_t>(key));
    if (open == Registry().open.end()) return ERROR_INVALID_HANDLE;
    auto& values = Registry().keys[open->second];
    auto it = values.find(Lower(FromWide(name)));
    if (it == values.end()) return ERROR_FILE_NOT_FOUND;
    const RegistryValue& v = it->second;
    if (type) *type = v.type;
    if (!size) return data ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
    DWORD needed = static_cast<DWORD>(v.data.size());
    if (!data) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed) std::memcpy(data, v.data.data(), needed);
    // What the value does not fill keeps whatever the caller's memory held: never zeros a
    // careless reader could take for a terminator.
    std::memset(data + needed, kUnwrittenByte, *size - needed);
    *size = needed;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
    Record("RegCloseKey", {});
    return Registry().open.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
