// Zarvic capturing on a device with the device's text editor in front: the steps of the
// clipboard's road as a person (and the history menu) takes them.
#pragma once

#include <string>
#include <vector>

#include "history/history.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/editor.h"
#include "platform/sim/sim_api.h"
#include "zarvic_device.h"

namespace zarvic_test {

class ClipboardRoad : public ZarvicTest {
protected:
    HWND editor = nullptr;

    // Nothing past a block's end is there to stop a read that overruns it.
    ClipboardRoad() { device.SetZeroWordAfterBlocks(false); }

    void StartCapturing() {
        StartWithHotKey();
        editor = device.StartEditor();
    }
    // Types nothing: puts the text in the editor, selects it all and presses Ctrl+C.
    void CopyInEditor(const std::u16string& text) {
        device.SetEditorText(editor, text);
        device.SelectEditorText(editor, 0, text.size());
        device.HoldKey(VK_CONTROL);
        device.PressKey('C');
        device.ReleaseKey(VK_CONTROL);
    }
    void Tick() { device.Advance(300); }
    static std::vector<std::u16string> History() {
        std::vector<std::u16string> out;
        for (int i = 0; i < HISTORY_SLOTS && g_historySlots[i]; i++) out.push_back(g_historySlots[i]);
        return out;
    }
    // The history menu leaves the main window in the foreground and posts the command.
    void Choose(int command) {
        SetForegroundWindow(MainWindow());
        device.Post(MainWindow(), WM_COMMAND, command, 0);
    }
    // Zarvic's synthesised keys as (virtual key, scan code, flags).
    std::vector<std::vector<intptr_t>> Keys() const {
        std::vector<std::vector<intptr_t>> out;
        for (const sim::Call& c : device.Calls("keybd_event", zarvic)) out.push_back({c.args[0], c.args[1], c.args[2]});
        return out;
    }
};

}  // namespace zarvic_test
