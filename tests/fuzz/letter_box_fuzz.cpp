// Any text in the settings dialog's letter box, confirmed with OK: Zarvic registers what
// it can, warns otherwise, and saves a whole data file.
#include "core/runtime.h"
#include "fuzz_device.h"
#include "platform/sim/dialog.h"
#include "ui/dialog_ids.h"

using namespace zarvic_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes input(data, size);
    uint8_t modifiers = input.Byte();
    std::u16string text = InputBytes::Units(input.Rest());

    sim::Device device;
    int zarvic = StartZarvic(device);
    Command(device, IDM_SETTING);
    HWND dialog = device.OpenDialog();
    FUZZ_CHECK(dialog);
    const int boxes[] = {IDC_SETTING_ALT, IDC_SETTING_CTRL, IDC_SETTING_SHIFT};
    for (int i = 0; i < 3; ++i)
        if (modifiers & (1 << i)) device.TapDialogControl(dialog, boxes[i]);
    device.Send(GetDlgItem(dialog, IDC_SETTING_LETTER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    device.TapDialogControl(dialog, IDOK);
    AnswerBoxes(device, IDOK);
    FUZZ_CHECK(!device.OpenDialog());
    CloseZarvic(device, zarvic);
    FUZZ_CHECK(device.FileBytes(kDataPath).value_or(std::vector<uint8_t>{}).size() == 104);
    return 0;
}
