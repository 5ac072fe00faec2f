// The popup-menu font's registry values of any type and size, read as the history menu
// opens and its entries are measured and drawn.
#include "fuzz_device.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/menu.h"
#include "platform/sim/registry.h"

using namespace zarvic_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes input(data, size);
    sim::Device device;
    const std::u16string key = u"System\\GWE\\Menu\\PopFnt";
    device.CreateRegistryKey(key);
    for (const char16_t* name : {u"Ht", u"Wt", u"It", u"CS", u"Nm"}) {
        uint8_t type = input.Byte();
        if (type != 0xFF) device.SetRegistryValue(key, name, type & 0x0F, input.Piece());
    }
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true));
    int zarvic = StartZarvic(device);
    device.PutClipboardText(u"one\r\ntwo");
    device.Advance(300);
    FUZZ_CHECK(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    FUZZ_CHECK(device.OpenMenu().has_value());
    device.PressKey(VK_DOWN);
    device.PressKey(VK_ESCAPE);
    CloseZarvic(device, zarvic);
    return 0;
}
