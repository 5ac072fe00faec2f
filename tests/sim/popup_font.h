// The device's popup-menu font as the registry holds it, under HKEY_LOCAL_MACHINE, for the
// tests and the benches.
#pragma once

#include <string>

#include "platform/sim/registry.h"

namespace zarvic_test {

inline const std::u16string kPopupFontKey = u"System\\GWE\\Menu\\PopFnt";

// Writes the popup-menu font's five values.
inline void SetPopupFont(const std::u16string& face, LONG height, DWORD weight = 400, DWORD italic = 0,
                         DWORD charSet = 128) {
    sim::Device::Current().SetRegistryDword(kPopupFontKey, u"Ht", static_cast<DWORD>(height));
    sim::Device::Current().SetRegistryDword(kPopupFontKey, u"Wt", weight);
    sim::Device::Current().SetRegistryDword(kPopupFontKey, u"It", italic);
    sim::Device::Current().SetRegistryDword(kPopupFontKey, u"CS", charSet);
    sim::Device::Current().SetRegistryString(kPopupFontKey, u"Nm", face);
}

}  // namespace zarvic_test
