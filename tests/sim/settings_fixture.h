// Zarvic on the device with the steps a person takes in its tray menu's dialogs.
#pragma once

#include "platform/sim/dialog.h"
#include "platform/sim/shell.h"
#include "platform/sim/tray.h"
#include "zarvic_device.h"

namespace zarvic_test {

inline const std::u16string kExeDir = u"\\Program Files\\Zarvic";
inline const std::u16string kHelpPath = u"\\Program Files\\Zarvic\\Zarvic.htm";
inline const std::u16string kQuotedExe = u"\"\\Program Files\\Zarvic\\Zarvic.exe\"";
inline const std::u16string kDesktop = u"\\Windows\\Desktop";
inline const std::u16string kStartUp = u"\\Windows\\StartUp";
inline const std::u16string kHotKeyFailed =
    u"ホットキーの設定に失敗しました\n\n他のキーの組み合わせを指定してください";

// Offsets of the Settings record's fields in the data file.
enum DataOffset { kLetterAt = 4, kAltAt = 20, kCtrlAt = 36, kShiftAt = 52, kToolTipAt = 68 };

class TrayUiTest : public ZarvicTest {
protected:
    // Starts Zarvic on its first day (no data file) and closes the start-up hint.
    void StartFirstTime();
    // Runs a tray command as the tray menu does: WM_COMMAND posted to the main window.
    void Command(int id);
    HWND OpenSettings();
    HWND OpenAbout();
    HWND Dialog() const { return device.OpenDialog(); }
    sim::ControlInfo Control(int id) const;
    bool Checked(int id) const { return Control(id).check == BST_CHECKED; }
    void Tap(int id) { device.TapDialogControl(Dialog(), id); }
    // Taps the letter box, rubs out what it holds and types text.
    void ReplaceLetter(const std::u16string& text);
    // The data file's byte at an offset, or -1 when there is no data file.
    int DataByte(size_t offset) const;
    size_t ZarvicWindows() const { return device.Windows(zarvic).size(); }
    // No heap block, icon or item-id list of Zarvic is left, and it holds no window but
    // the ones it held before.
    void ExpectNothingLeft(size_t windowsBefore) const;
    // Calls of an operation Zarvic made after the call number `since`.
    std::vector<sim::Call> CallsSince(size_t since, const std::string& name) const;
};

}  // namespace zarvic_test
