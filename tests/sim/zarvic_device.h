// A simulated Handheld PC with Zarvic installed, and the steps a person takes with it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/device.h"

extern const unsigned char kZarvicResources[];
extern const size_t kZarvicResourcesSize;

namespace zarvic_test {

inline const std::u16string kExePath = u"\\Program Files\\Zarvic\\Zarvic.exe";
inline const std::u16string kDataPath = u"\\Program Files\\Zarvic\\ZarvicDat.bin";
inline const std::u16string kTitle = u"クリップボード拡張";
inline const std::u16string kStartupHint =
    u"タスクトレイの Zarvic アイコンをクリックし\nSetting からホットキーを設定してください";

// The default Settings record as the data file holds it: leading word, then the record.
std::vector<uint8_t> DefaultDataFile();
// A data file with the given hot-key (entry 0) over the defaults.
std::vector<uint8_t> DataFileWithHotKey(char16_t key, bool alt, bool ctrl, bool shift, bool toolTip = true);

class ZarvicTest : public ::testing::Test {
protected:
    sim::Device device;
    int zarvic = 0;

    // Puts Zarvic.exe on the device (at exePath) and starts it.
    int StartZarvic(const std::u16string& exePath = kExePath);
    HWND MainWindow() const;
    // The main window's poll timer: its interval while it is armed, 0 while it is not.
    UINT PollInterval() const;
    // Whether the main window holds the history hot-key, and with these keys.
    bool HoldsHotKey(UINT modifiers, UINT vk) const;
    // Starts Zarvic with a hot-key already set, so it captures from the first tick.
    int StartWithHotKey(char16_t key = u'C', bool alt = true, bool ctrl = true, bool shift = false);
    // Closes Zarvic as another program would (WM_CLOSE to its window) and waits for its end.
    void CloseZarvic();
    // No heap block of Zarvic is left, and nothing was freed that was not allocated.
    void ExpectNoLeaks() const;
};

}  // namespace zarvic_test
