// The menu host program and the fixture that drives it.
#include "popup_menu_host.h"

#include "platform/sim/dc.h"

namespace popup_menu_test {

HostScript gScript;
HostState gHost;

namespace {

bool IsMenuMessage(UINT m) {
    switch (m) {
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP:
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_UNINITMENUPOPUP:
    case WM_MENUSELECT:
    case WM_MENUCHAR:
    case WM_ENTERIDLE:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
    case WM_COMMAND:
        return true;
    default:
        return false;
    }
}

void TrackScriptedMenu(HWND hwnd) {
    HMENU menu = CreatePopupMenu();
    gHost.menu = menu;
    for (const Item& item : gScript.items) {
        LPCWSTR arg = (item.flags & MF_OWNERDRAW) ? reinterpret_cast<LPCWSTR>(item.data)
                                                  : (item.flags & MF_SEPARATOR ? nullptr : item.text.c_str());
        AppendMenuW(menu, item.flags, item.id, arg);
    }
    gHost.tracking = true;
    SetLastError(0);
    gHost.result = TrackPopupMenuEx(menu, gScript.flags, gScript.anchor.x, gScript.anchor.y, hwnd, nullptr);
    gHost.error = GetLastError();
    gHost.tracking = false;
    DestroyMenu(menu);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gHost.tracking && gScript.during) gScript.during(message);
    if (IsMenuMessage(message)) {
        Seen s{message, wParam, lParam, {}, {}, nullptr, GetForegroundWindow()};
        if (message == WM_DRAWITEM) {
            s.draw = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            s.drawFont = sim::Device::Current().FontSelectedInto(s.draw.hDC);
        }
        if (message == WM_MEASUREITEM) s.measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        gHost.seen.push_back(s);
    }
    switch (message) {
    case WM_MEASUREITEM: {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        mis->itemWidth = gScript.measureWidth;
        mis->itemHeight = gScript.measureHeight;
        return TRUE;
    }
    case WM_DRAWITEM:
        return TRUE;
    case WM_MENUCHAR:
        return gScript.menuChar ? gScript.menuChar(wParam, lParam) : MAKELRESULT(0, MNC_IGNORE);
    case WM_TIMER:
        gHost.timerTicks++;
        return 0;
    case kOpenMenu:
        TrackScriptedMenu(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int HostMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"MenuHost";
    RegisterClassW(&wc);
    gHost.window = CreateWindowExW(0, u"MenuHost", u"Menu host", WS_POPUP, 0, 0, 800, 454, nullptr, nullptr,
                                   instance, nullptr);
    ShowWindow(gHost.window, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    gHost.quitCode = static_cast<int>(msg.wParam);
    return 0;
}

}  // namespace

void PopupMenuTest::SetUp() {
    gScript = HostScript{};
    gHost = HostState{};
    device.PlaceFile(kHostPath, {'M', 'Z'});
    host = device.StartProgram(kHostPath, &HostMain);
    ASSERT_NE(gHost.window, nullptr);
    ASSERT_EQ(device.Foreground(), gHost.window);
}

void PopupMenuTest::OpenScriptedMenu() {
    device.Post(gHost.window, kOpenMenu);
    device.RunUntilIdle();
}

std::vector<Seen> PopupMenuTest::SeenOf(UINT message) const { return SeenSince(0, message); }

std::vector<Seen> PopupMenuTest::SeenSince(size_t from, UINT message) const {
    std::vector<Seen> out;
    for (size_t i = from; i < gHost.seen.size(); ++i)
        if (gHost.seen[i].message == message) out.push_back(gHost.seen[i]);
    return out;
}

sim::OpenMenuInfo PopupMenuTest::Open() const {
    auto open = device.OpenMenu();
    if (!open) throw std::logic_error("no menu is open");
    return *open;
}

}  // namespace popup_menu_test
