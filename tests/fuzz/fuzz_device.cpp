#include "fuzz_device.h"

#include "core/runtime.h"
#include "platform/sim/dc.h"
#include "platform/sim/gdi.h"
#include "platform/sim/menu.h"
#include "platform/sim/resources.h"

extern const unsigned char kZarvicResources[];
extern const size_t kZarvicResourcesSize;

namespace zarvic_fuzz {

std::vector<uint8_t> InputBytes::Take(size_t n) {
    n = std::min(n, size_ - at_);
    std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
    at_ += n;
    return out;
}

std::u16string InputBytes::Units(const std::vector<uint8_t>& bytes) {
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) out += static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    return out;
}

std::vector<uint8_t> DataFileWithHotKey(char16_t letter, bool toolTip) {
    std::vector<uint8_t> bytes(104, 0);
    bytes[4] = static_cast<uint8_t>(letter);
    bytes[5] = static_cast<uint8_t>(letter >> 8);
    bytes[4 + 16] = 1;  // Alt
    bytes[4 + 32] = 1;  // Ctrl
    bytes[4 + 64] = toolTip;
    return bytes;
}

int StartZarvic(sim::Device& device) {
    if (!device.Exists(kExePath)) device.PlaceFile(kExePath, {'M', 'Z'});
    int zarvic = device.StartProgram(kExePath, &WinMain, sim::ResourceImage{kZarvicResources, kZarvicResourcesSize});
    AnswerBoxes(device, IDOK);
    return zarvic;
}

HWND MainWindow(sim::Device& device) { return device.FindWindow(u"ZarvicEx"); }

void AnswerBoxes(sim::Device& device, int answer) {
    for (int i = 0; i < 8 && device.OpenMessageBox(); ++i) {
        bool question = (device.OpenMessageBox()->style & 0x0F) == MB_YESNO;
        device.AnswerMessageBox(!question ? IDOK : answer == IDYES ? IDYES : IDNO);
    }
}

void CloseZarvic(sim::Device& device, int zarvic) {
    HWND main = MainWindow(device);
    if (main) device.Send(main, WM_CLOSE);
    AnswerBoxes(device, IDOK);
    FUZZ_CHECK(!device.IsRunning(zarvic));
    FUZZ_CHECK(device.LiveBlocks(zarvic).empty());
    FUZZ_CHECK(device.BadFrees() == 0);
    FUZZ_CHECK(device.LiveGdiObjects(zarvic).empty());
    FUZZ_CHECK(device.LiveMenus(zarvic) == 0);
    FUZZ_CHECK(device.OpenDeviceContexts(zarvic) == 0);
    FUZZ_CHECK(device.LiveIconObjects(zarvic).empty());
}

void Command(sim::Device& device, int id) {
    HWND main = MainWindow(device);
    if (main) device.Post(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
    device.RunUntilIdle();
}

}  // namespace zarvic_fuzz
