// Zarvic on the device with what the history menu's look needs around it: a font model
// of known sizes, the popup-menu font in the registry, history entries, a mnemonic table,
// a stand-in menu window, and owner-draw requests sent to the main window as the menu
// sends them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/font_model.h"
#include "platform/sim/gdi.h"
#include "popup_font.h"
#include "zarvic_device.h"

namespace zarvic_test {

// The menu font of these tests: a narrow character is 10 pixels wide, "W" 15, a
// full-width one 20; a line is 20 pixels high with 4 between lines.
inline const std::u16string kMenuFace = u"Menu Gothic";
constexpr LONG kMenuFontHeight = -16;
constexpr int kNarrow = 10, kWide = 15, kFullWidth = 20, kLineHeight = 20, kLeading = 4;

// The test menu font in the registry and its model on the device.
void UseTestMenuFont();
LOGFONTW LogFontOf(HGDIOBJ font);

class MenuLookTest : public ZarvicTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs fn on Zarvic's own thread, as the program would run it, and waits until the
    // device is idle again.
    void RunInZarvic(std::function<void()> fn);
    // History entries from slot 0, newest first.
    void PutHistory(const std::vector<std::u16string>& entries);
    void ClearHistory();
    // The mnemonic table of an open menu: codes for the positions given, the rest 0.
    void MakeMnemonicTable(HMENU menu, const std::vector<LONG>& codes);
    // A stand-in for the device's popup-menu window, class "MNU", shown at screen rect r
    // with a one-pixel border.
    HWND MakeMenuWindow(RECT r);
    // Sends WM_MEASUREITEM for the item to the main window and returns what it set.
    MEASUREITEMSTRUCT Measure(UINT id);
    // Sends WM_DRAWITEM for the item, drawn in dc, to the main window.
    void Draw(HDC dc, UINT id, RECT item, bool selected, HMENU menu);

    HWND menuWindow = nullptr;
    HMENU menuHandle = reinterpret_cast<HMENU>(0x7777);
};

}  // namespace zarvic_test
