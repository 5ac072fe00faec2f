// Screen metrics, the work area, message boxes and the hot-key table.
#include <algorithm>

#include "monitors.h"
#include "faults.h"
#include "state.h"
#include "tray.h"

namespace sim {

MessageBoxRecord* OpenBoxRecord() {
    auto& boxes = S().messageBoxes;
    for (auto it = boxes.rbegin(); it != boxes.rend(); ++it)
        if (it->answer == 0) return &*it;
    return nullptr;
}

// The box's buttons, left to right.
static std::vector<int> ButtonsOf(UINT style) {
    switch (style & MB_TYPEMASK) {
    case MB_OK: return {IDOK};
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {};
    }
}

static bool AnswerFits(UINT style, int answer) {
    std::vector<int> buttons = ButtonsOf(style);
    if (buttons.empty()) return answer != 0;
    return std::find(buttons.begin(), buttons.end(), answer) != buttons.end();
}

// What a key pressed in the box answers, as Win32 documents MessageBox: Enter chooses the
// default button (the first when MB_DEFBUTTONn names none); Escape answers IDCANCEL where
// there is a Cancel button, IDOK in a box with only OK, and nothing otherwise. 0: no answer.
static int AnswerForKey(UINT style, WPARAM vk) {
    std::vector<int> buttons = ButtonsOf(style);
    if (buttons.empty()) return 0;
    if (vk == VK_RETURN) {
        size_t index = (style & MB_DEFMASK) >> 8;
        return buttons[index < buttons.size() ? index : 0];
    }
    if (vk != VK_ESCAPE) return 0;
    if (std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end()) return IDCANCEL;
    return buttons.size() == 1 && buttons[0] == IDOK ? IDOK : 0;
}

bool AnswerBox(int answer) {
    MessageBoxRecord* box = OpenBoxRecord();
    if (!box || !AnswerFits(box->style, answer)) return false;
    box->answer = answer;
    if (Program* p = FindProgram(box->program)) p->wake = true;
    S().generation++;
    return true;
}

}  // namespace sim

using namespace sim;

int GetSystemMetrics(int index) {
    const RECT primary = Monitors()[0].screen;
    switch (index) {
    case SM_CXSCREEN: return primary.right - primary.left;
    case SM_CYSCREEN: return primary.bottom - primary.top;
    case SM_CXVSCROLL: return 13;
    case SM_CYHSCROLL: return 13;
    case SM_CYCAPTION: return 18;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME: return 3;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CYMENU: return 20;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    default: return 0;
    }
}

BOOL SystemParametersInfoW(UINT action, UINT, PVOID value, UINT) {
    if (action == SPI_GETWORKAREA && value && !FaultHere(FaultPoint::WorkAreaQuery)) {
        *static_cast<RECT*>(value) = Monitors()[0].work;
        return TRUE;
    }
    Fail(ERROR_INVALID_PARAMETER);
    return FALSE;
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    DeviceState& s = S();
    Program* p = CurrentProgram();
    Record("MessageBoxW", {reinterpret_cast<intptr_t>(owner), static_cast<intptr_t>(type)}, FromWide(text),
           FromWide(caption));
    if (!p || (owner && !FindWin(owner))) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // The box is a dialog window of the device's own, owned by the owner's top window.
    static const WCHAR kBoxClass[] = u"Dialog";
    RegisterDeviceClass(kBoxClass, DefWindowProcW);
    const int width = 280, height = 120;
    HWND box = CreateWindowExW(0, kBoxClass, caption ? caption : u"Error", WS_POPUP | WS_CAPTION | WS_BORDER,
                               (s.options.screenWidth - width) / 2, (s.options.screenHeight - height) / 2, width,
                               height, owner, nullptr, nullptr, nullptr);
    s.messageBoxes.push_back(MessageBoxRecord{p->id, owner, box, FromWide(text), FromWide(caption), type, 0});
    size_t index = s.messageBoxes.size() - 1;
    bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    if (type & MB_SETFOREGROUND) SetForegroundWindow(box);

    int quitCode = 0;
    auto answered = [&s, index] { return s.messageBoxes[index].answer != 0; };
    auto keys = [&s, index, box, type](MSG& msg) {
        if (msg.hwnd != box || msg.message != WM_KEYDOWN) return false;
        if (int answer = AnswerForKey(type, msg.wParam)) s.messageBoxes[index].answer = answer;
        return true;
    };
    bool quit = RunModalLoop(p, answered, keys, &quitCode);
    if (quit) s.messageBoxes[index].answer = (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDCANCEL;
    if (owner && ownerWasEnabled && FindWin(owner)) EnableWindow(owner, TRUE);
    if (FindWin(box)) DestroyWindow(box);
    s.messageBoxes[index].window = nullptr;
    if (quit) PostQuitMessage(quitCode);
    return s.messageBoxes[index].answer;
}

BOOL MessageBeep(UINT type) {
    Record("MessageBeep", {static_cast<intptr_t>(type)});
    return TRUE;
}

BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT vk) {
    DeviceState& s = S();
    Call& call = Record("RegisterHotKey", {reinterpret_cast<intptr_t>(hwnd), id, static_cast<intptr_t>(modifiers),
                                           static_cast<intptr_t>(vk)});
    Window* w = FindWin(hwnd);
    if (!w || w->program != CurrentProgram()) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (vk == 0 || vk > 0xFE) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (const auto& held : s.foreignHotKeys) {
        if (held.first == modifiers && held.second == vk) {
            Fail(ERROR_HOTKEY_ALREADY_REGISTERED);
            return FALSE;
        }
    }
    for (const HotKey& k : s.hotKeys) {
        if ((k.modifiers == modifiers && k.vk == vk) || (k.hwnd == hwnd && k.id == id)) {
            Fail(ERROR_HOTKEY_ALREADY_REGISTERED);
            return FALSE;
        }
    }
    s.hotKeys.push_back(HotKey{hwnd, id, modifiers, vk});
    call.result = TRUE;
    return TRUE;
}

BOOL UnregisterHotKey(HWND hwnd, int id) {
    DeviceState& s = S();
    Record("UnregisterHotKey", {reinterpret_cast<intptr_t>(hwnd), id});
    for (auto it = s.hotKeys.begin(); it != s.hotKeys.end(); ++it) {
        if (it->hwnd == hwnd && it->id == id) {
            s.hotKeys.erase(it);
            return TRUE;
        }
    }
    Fail(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
    auto& table = S().windowMessages;
    std::u16string key = Lower(FromWide(name));
    if (key.empty()) return 0;
    auto it = table.find(key);
    if (it != table.end()) return it->second;
    UINT id = 0xC000 + static_cast<UINT>(table.size());
    table[key] = id;
    return id;
}
