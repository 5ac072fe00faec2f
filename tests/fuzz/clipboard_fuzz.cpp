// Any bytes as the clipboard's text, with or without the marks that keep a copy private:
// polled, then the history menu opened with the preview, every entry highlighted (and so
// measured, drawn and previewed), and dismissed.
#include "fuzz_device.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/menu.h"

using namespace zarvic_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes input(data, size);
    uint8_t marks = input.Byte();
    std::vector<uint8_t> exclude = input.Piece(), ignore = input.Piece(), history = input.Piece();
    std::vector<uint8_t> text = input.Rest();

    sim::Device device;
    device.SetZeroWordAfterBlocks(false);  // a read past a block's end meets no NUL
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true));
    int zarvic = StartZarvic(device);
    // A plain copy first, so the menu has an entry even when the fuzzed one is kept out.
    device.PutClipboardText(u"plain");
    device.Advance(300);
    device.EmptyClipboardElsewhere();
    device.AddClipboardBytes(CF_UNICODETEXT, text);
    if (marks & 1)
        device.AddClipboardBytes(device.ClipboardFormatNamed(u"ExcludeClipboardContentFromMonitorProcessing"), exclude);
    if (marks & 2) device.AddClipboardBytes(device.ClipboardFormatNamed(u"Clipboard Viewer Ignore"), ignore);
    if (marks & 4) device.AddClipboardBytes(device.ClipboardFormatNamed(u"CanIncludeInClipboardHistory"), history);
    device.Advance(300);

    FUZZ_CHECK(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    auto menu = device.OpenMenu();
    FUZZ_CHECK(menu.has_value());
    for (size_t i = 0; i < menu->items.size(); ++i) device.PressKey(VK_DOWN);
    device.PressKey(VK_ESCAPE);
    FUZZ_CHECK(!device.OpenMenu());
    CloseZarvic(device, zarvic);
    return 0;
}
