// Zarvic with history to show, and the steps of opening the history menu and acting on
// it as a person at the device would.
#pragma once

#include <string>
#include <vector>

#include "clipboard_road.h"
#include "menu/history_menu.h"
#include "platform/sim/menu.h"

namespace zarvic_test {

class HistoryMenuTest : public ClipboardRoad {
protected:
    // Zarvic with the hot-key Alt+Ctrl+C and the tooltip setting as given, and the
    // device's editor in front.
    void StartWithToolTip(bool on);
    // Sets how high a line of the device's system font is (with the gap between lines),
    // and so how many menu lines fit on the screen.
    void SetSystemLineHeight(LONG height, LONG leading);
    // Copies n texts in the editor so that slot k holds EntryText(k); empties the editor.
    void CaptureEntries(int n);
    static std::u16string EntryText(int k);
    // Presses Alt+Ctrl+C.
    void PressMenuHotKey();
    sim::OpenMenuInfo Menu() const;
    bool MenuIsOpen() const { return device.OpenMenu().has_value(); }
    // Zarvic's posted messages to its main window of this kind, from the device's record.
    std::vector<sim::Call> Posted(UINT message) const;
    // Starts a program that shows one borderless window at r and has no caret.
    HWND StartPlainWindow(RECT r);
    std::vector<LONG> Codes() const;   // record 0's codes up to and including the ending 0
};

}  // namespace zarvic_test
