#include "zarvic_device.h"

#include "core/runtime.h"
#include "platform/sim/sim_api.h"

namespace zarvic_test {

std::vector<uint8_t> DefaultDataFile() {
    std::vector<uint8_t> bytes(104, 0);
    bytes[4] = 'C';
    bytes[8] = 'T';
    bytes[4 + 64] = 1;
    bytes[4 + 68] = 1;
    bytes[4 + 72] = 1;
    return bytes;
}

std::vector<uint8_t> DataFileWithHotKey(char16_t key, bool alt, bool ctrl, bool shift, bool toolTip) {
    std::vector<uint8_t> bytes = DefaultDataFile();
    bytes[4] = static_cast<uint8_t>(key & 0xFF);
    bytes[5] = static_cast<uint8_t>(key >> 8);
    bytes[4 + 16] = alt;
    bytes[4 + 32] = ctrl;
    bytes[4 + 48] = shift;
    bytes[4 + 64] = toolTip;
    return bytes;
}

int ZarvicTest::StartZarvic(const std::u16string& exePath) {
    if (!device.Exists(exePath)) device.PlaceFile(exePath, {'M', 'Z'});
    zarvic = device.StartProgram(exePath, &WinMain, sim::ResourceImage{kZarvicResources, kZarvicResourcesSize});
    return zarvic;
}

HWND ZarvicTest::MainWindow() const { return device.FindWindow(u"ZarvicEx"); }

UINT ZarvicTest::PollInterval() const {
    for (const sim::TimerInfo& t : device.Timers(MainWindow()))
        if (t.id == TIMER_ID_POLL) return t.interval;
    return 0;
}

bool ZarvicTest::HoldsHotKey(UINT modifiers, UINT vk) const {
    for (const sim::HotKeyInfo& k : device.HotKeys(MainWindow()))
        if (k.id == HOTKEY_ID_HISTORY && k.modifiers == modifiers && k.vk == vk) return true;
    return false;
}

int ZarvicTest::StartWithHotKey(char16_t key, bool alt, bool ctrl, bool shift) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(key, alt, ctrl, shift));
    return StartZarvic();
}

void ZarvicTest::CloseZarvic() {
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    device.Send(main, WM_CLOSE);
    ASSERT_FALSE(device.IsRunning(zarvic));
}

void ZarvicTest::ExpectNoLeaks() const {
    EXPECT_TRUE(device.LiveBlocks(zarvic).empty()) << device.LiveBlocks(zarvic).size() << " block(s) left";
    EXPECT_EQ(device.BadFrees(), 0u);
}

}  // namespace zarvic_test
