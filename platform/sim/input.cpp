// The device's input stream: keys and taps go to the foreground program's queue, a key
// combination registered as a hot-key becomes WM_HOTKEY instead, and the key state is
// what GetAsyncKeyState reports.
#include "input.h"

#include <algorithm>

namespace sim {

InputState& Input() { return PartOf(S().input); }

namespace {

// Scan codes of the device's keyboard (set 1, as on a PC/AT keyboard).
BYTE ScanCodeOf(UINT vk) {
    static const char kLetters[] = "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18\x19\x10\x13\x1F\x14\x16\x2F\x11\x2D\x15\x2C";
    if (vk >= 'A' && vk <= 'Z') return static_cast<BYTE>(kLetters[vk - 'A']);
    if (vk >= '1' && vk <= '9') return static_cast<BYTE>(0x02 + (vk - '1'));
    switch (vk) {
    case '0': return 0x0B;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: return 0x1D;
    case VK_SHIFT: return 0x2A;
    case VK_MENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_ESCAPE: return 0x01;
    case VK_UP: return 0x48;
    case VK_DOWN: return 0x50;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_DELETE: return 0x53;
    default: return 0;
    }
}

UINT HeldModifiers() {
    UINT m = 0;
    if (IsKeyDown(VK_MENU)) m |= MOD_ALT;
    if (IsKeyDown(VK_CONTROL)) m |= MOD_CONTROL;
    if (IsKeyDown(VK_SHIFT)) m |= MOD_SHIFT;
    return m;
}

HWND KeyboardTarget() {
    DeviceState& s = S();
    Window* fg = FindWin(s.foreground);
    if (!fg) return nullptr;
    Window* focus = FindWin(s.focus);
    if (focus && focus->program == fg->program) return focus->handle;
    return fg->handle;
}

void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(target);
    if (!w || !w->program) return;
    DWORD time = static_cast<DWORD>(S().now);
    w->program->input.push_back(MSG{target, message, wParam, lParam, time, {0, 0}});
    Input().lastInputProgram = w->program->id;
    S().generation++;
}

// WM_HOTKEY goes to the top of the registering thread's queue, ahead of the messages
// posted before it; hot-keys among themselves keep their order.
void DeliverHotKey(const HotKey& k, UINT modifiers) {
    Window* w = FindWin(k.hwnd);
    if (!w || !w->program) return;
    auto& queue = w->program->posted;
    auto at = std::find_if(queue.begin(), queue.end(), [](const MSG& m) { return m.message != WM_HOTKEY; });
    queue.insert(at, MSG{k.hwnd, WM_HOTKEY, static_cast<WPARAM>(k.id), static_cast<LPARAM>(MAKELPARAM(modifiers, k.vk)),
                         static_cast<DWORD>(S().now), {0, 0}});
    Input().lastInputProgram = w->program->id;
    S().generation++;
}

}  // namespace

bool IsKeyDown(UINT vk) { return Input().down.count(vk & 0xFF) > 0; }

WCHAR CharForKey(UINT vk, bool shift, bool ctrl) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return static_cast<WCHAR>(vk - 'A' + 1);
        return static_cast<WCHAR>(shift ? vk : vk + 32);
    }
    if (ctrl) return 0;
    if (vk >= '0' && vk <= '9') {
        static const char kShifted[] = ")!@#$%^&*(";
        return static_cast<WCHAR>(shift ? kShifted[vk - '0'] : vk);
    }
    switch (vk) {
    case VK_SPACE: return u' ';
    case VK_RETURN: return u'\r';
    case VK_ESCAPE: return 27;
    case VK_BACK: return 8;
    case VK_TAB: return u'\t';
    default: return 0;
    }
}

void KeyEvent(UINT vk, bool up, bool synthesised) {
    vk &= 0xFF;
    InputState& in = Input();
    BYTE scan = ScanCodeOf(vk);
    if (up) {
        bool wasDown = in.down.erase(vk) > 0;
        if (in.swallowed.erase(vk)) return;  // the key-up of a hot-key goes nowhere
        HWND target = KeyboardTarget();
        if (target && wasDown) Deliver(target, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u | (scan << 16)));
        return;
    }
    bool repeat = in.down.count(vk) > 0;
    in.down.insert(vk);
    UINT modifiers = HeldModifiers();
    bool isModifier = vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU;
    if (!isModifier && (!synthesised || in.synthesisedKeysFireHotKeys)) {
        for (const HotKey& k : S().hotKeys) {
            if (k.vk == vk && k.modifiers == modifiers) {
                in.swallowed.insert(vk);
                DeliverHotKey(k, modifiers);
                return;
            }
        }
    }
    HWND target = KeyboardTarget();
    if (target) Deliver(target, WM_KEYDOWN, vk, static_cast<LPARAM>((repeat ? 0x40000001u : 1u) | (scan << 16)));
}

void RouteSynthesisedKeys() {
    InputState& in = Input();
    while (!in.synthesised.empty()) {
        std::pair<UINT, bool> key = in.synthesised.front();
        in.synthesised.pop_front();
        KeyEvent(key.first, key.second, true);
    }
}

HWND WindowAt(POINT screen) {
    DeviceState& s = S();
    for (HWND h : s.zOrder) {
        Window* w = FindWin(h);
        if (!w || !w->visible) continue;
        RECT r;
        GetWindowRect(h, &r);
        if (!PtInRect(&r, screen)) continue;
        // the deepest visible child under the point
        HWND hit = h;
        for (bool descended = true; descended;) {
            descended = false;
            for (auto& [key, c] : s.windows) {
                if (c->parent != hit || !(c->style & WS_CHILD) || !c->visible) continue;
                RECT cr;
                GetWindowRect(c->handle, &cr);
                if (PtInRect(&cr, screen)) {
                    hit = c->handle;
                    descended = true;
                    break;
                }
            }
        }
        return hit;
    }
    return nullptr;
}

void TapAt(POINT screen) {
    DeviceState& s = S();
    InputState& in = Input();
    HWND target = in.capture && FindWin(in.capture) ? in.capture : WindowAt(screen);
    if (!target) return;
    Window* w = FindWin(target);
    if (!in.capture) {
        // A tap activates the top-level window it lands on, unless that window is disabled.
        HWND top = target;
        while (FindWin(top) && (FindWin(top)->style & WS_CHILD)) top = FindWin(top)->parent;
        Window* tw = FindWin(top);
        if (tw && tw->enabled && !(tw->style & WS_DISABLED) && tw->handle != s.foreground && !tw->topmost)
            SetForegroundWindow(top);
        else if (tw && tw->enabled && tw->handle != s.foreground && tw->topmost && !(tw->exStyle & WS_EX_TOOLWINDOW))
            SetForegroundWindow(top);
        if (w && (w->style & WS_CHILD) && w->enabled) s.focus = target;
    }
    POINT client = screen;
    ScreenToClient(target, &client);
    LPARAM at = MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(client.x)), static_cast<WORD>(static_cast<SHORT>(client.y)));
    Deliver(target, WM_LBUTTONDOWN, 0x0001, at);
    Deliver(target, WM_LBUTTONUP, 0, at);
}

}  // namespace sim

using namespace sim;

SHORT GetAsyncKeyState(int vk) { return IsKeyDown(static_cast<UINT>(vk)) ? static_cast<SHORT>(0x8000) : 0; }

SHORT GetKeyState(int vk) {
    Program* p = CurrentProgram();
    return p && p->keysDown.count(static_cast<UINT>(vk) & 0xFF) ? static_cast<SHORT>(0x8000) : 0;
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    if (mapType != MAPVK_VK_TO_VSC) return 0;
    return ScanCodeOf(code);
}

void keybd_event(BYTE vk, BYTE scan, DWORD flags, ULONG_PTR extraInfo) {
    Record("keybd_event", {vk, scan, static_cast<intptr_t>(flags), static_cast<intptr_t>(extraInfo)});
    Input().synthesised.emplace_back(vk, (flags & KEYEVENTF_KEYUP) != 0);
    S().generation++;
}

HWND SetCapture(HWND hwnd) {
    HWND old = Input().capture;
    Input().capture = FindWin(hwnd) ? hwnd : nullptr;
    return old;
}

BOOL ReleaseCapture() {
    Input().capture = nullptr;
    return TRUE;
}

HWND GetCapture() { return Input().capture; }

bool sim::InputMethodAllowed(HWND hwnd) { return Input().withoutInputMethod.count(hwnd) == 0; }

// Every window starts with the default input context, which stands in for any context a
// program passes back.
constexpr uintptr_t kDefaultInputContext = 0x1DC0;

HIMC ImmAssociateContext(HWND hwnd, HIMC context) {
    Record("ImmAssociateContext", {reinterpret_cast<intptr_t>(hwnd), reinterpret_cast<intptr_t>(context)});
    if (!FindWin(hwnd)) return nullptr;
    HIMC previous = InputMethodAllowed(hwnd) ? reinterpret_cast<HIMC>(kDefaultInputContext) : nullptr;
    if (context)
        Input().withoutInputMethod.erase(hwnd);
    else
        Input().withoutInputMethod.insert(hwnd);
    return previous;
}
