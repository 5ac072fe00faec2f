// TrackPopupMenuEx: the menu window and the modal loop that runs on the caller's thread
// until an item is chosen or the menu is dismissed.
#include <algorithm>

#include "input.h"
#include "menu.h"
#include "gdi.h"
#include "monitors.h"

namespace sim {

namespace {

constexpr int kSeparatorHeight = 6;
constexpr int kStringMargin = 24;      // check-mark column and submenu-arrow column of a string item
constexpr int kStringPadding = 4;      // above and below the text of a string item

std::u16string WithoutPrefix(const std::u16string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

// The letter after a single "&" of a string item, upper-cased; 0 for none.
WCHAR MnemonicOf(const MenuItem& item) {
    if (item.flags & (MF_OWNERDRAW | MF_SEPARATOR)) return 0;
    const std::u16string& t = item.text;
    for (size_t i = 0; i + 1 < t.size(); ++i) {
        if (t[i] != u'&') continue;
        if (t[i + 1] == u'&') {
            ++i;
            continue;
        }
        WCHAR c = t[i + 1];
        return c >= u'a' && c <= u'z' ? static_cast<WCHAR>(c - 32) : c;
    }
    return 0;
}

bool IsSeparator(const MenuItem& item) { return (item.flags & MF_SEPARATOR) != 0; }
bool IsChoosable(const MenuItem& item) { return !(item.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED)); }

void Notify(MenuTracking& t, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!(t.flags & TPM_NONOTIFY)) CallWindow(t.owner, message, wParam, lParam);
}

// Asks the owner to draw owner-drawn items in a context of the menu window that carries
// the menu font.
void DrawItems(MenuTracking& t, const std::vector<int>& positions, UINT action, int selected) {
    HDC dc = GetDC(t.window);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, t.font);
    for (int pos : positions) {
        const MenuItem& item = t.items[pos];
        if (!(item.flags & MF_OWNERDRAW)) continue;
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_MENU;
        dis.itemID = item.id;
        dis.itemAction = action;
        dis.itemState = (pos == selected ? ODS_SELECTED : 0) | (item.flags & MF_GRAYED ? ODS_GRAYED : 0);
        dis.hwndItem = reinterpret_cast<HWND>(t.menu);
        dis.hDC = dc;
        dis.rcItem = t.rects[pos];
        dis.itemData = item.data;
        CallWindow(t.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis));
        if (t.ended || !FindWin(t.window)) break;
    }
    SelectObject(dc, old);
    ReleaseDC(t.window, dc);
}

void Highlight(MenuTracking& t, int pos) {
    if (pos == t.highlighted || pos < -1 || pos >= static_cast<int>(t.items.size())) return;
    int old = t.highlighted;
    t.highlighted = pos;
    if (old >= 0) DrawItems(t, {old}, ODA_SELECT, -1);
    if (pos >= 0 && !t.ended) DrawItems(t, {pos}, ODA_SELECT, pos);
    if (pos >= 0 && !t.ended) {
        const MenuItem& item = t.items[pos];
        Notify(t, WM_MENUSELECT, MAKEWPARAM(item.id, (item.flags | MF_HILITE) & 0xFFFF),
               reinterpret_cast<LPARAM>(t.menu));
    }
}

void End(MenuTracking& t, UINT chosen) {
    t.ended = true;
    t.chosen = chosen;
    if (t.program) t.program->wake = true;
    S().generation++;
}

void Choose(MenuTracking& t, int pos) {
    if (pos < 0 || pos >= static_cast<int>(t.items.size()) || !IsChoosable(t.items[pos])) return;
    Highlight(t, pos);
    if (!t.ended) End(t, t.items[pos].id);
}

void MoveHighlight(MenuTracking& t, int direction) {
    const int n = static_cast<int>(t.items.size());
    int pos = t.highlighted;
    for (int step = 0; step < n; ++step) {
        pos = pos < 0 ? (direction > 0 ? 0 : n - 1) : (pos + direction + n) % n;
        if (!IsSeparator(t.items[pos])) {
            Highlight(t, pos);
            return;
        }
    }
}

void TypeChar(MenuTracking& t, WCHAR ch) {
    if (ch < 32) return;
    // A "&" letter of a string item comes first: one match chooses it, several cycle.
    WCHAR upper = ch >= u'a' && ch <= u'z' ? static_cast<WCHAR>(ch - 32) : ch;
    std::vector<int> matches;
    for (size_t i = 0; i < t.items.size(); ++i)
        if (MnemonicOf(t.items[i]) == upper) matches.push_back(static_cast<int>(i));
    if (matches.size() == 1) {
        if (IsChoosable(t.items[matches[0]]))
            Choose(t, matches[0]);
        else
            Highlight(t, matches[0]);
        return;
    }
    if (matches.size() > 1) {
        int next = matches[0];
        for (int m : matches)
            if (m > t.highlighted) {
                next = m;
                break;
            }
        Highlight(t, next);
        return;
    }
    LRESULT reply = CallWindow(t.owner, WM_MENUCHAR, MAKEWPARAM(ch, MF_POPUP), reinterpret_cast<LPARAM>(t.menu));
    int pos = LOWORD(reply);
    bool valid = pos < static_cast<int>(t.items.size()) && !IsSeparator(t.items[pos]);
    switch (HIWORD(reply)) {
    case MNC_CLOSE:
        End(t, 0);
        return;
    case MNC_EXECUTE:
        if (valid && IsChoosable(t.items[pos]))
            Choose(t, pos);
        else if (valid)
            Highlight(t, pos);
        else
            MessageBeep(0);
        return;
    case MNC_SELECT:
        if (valid)
            Highlight(t, pos);
        else
            MessageBeep(0);
        return;
    default:
        MessageBeep(0);
        return;
    }
}

void KeyDown(MenuTracking& t, const MSG& msg) {
    switch (msg.wParam) {
    case VK_ESCAPE:
        End(t, 0);
        return;
    case VK_UP:
        MoveHighlight(t, -1);
        return;
    case VK_DOWN:
        MoveHighlight(t, 1);
        return;
    case VK_RETURN:
    case VK_SPACE:
        // Enter with nothing highlighted closes the menu; on a greyed item it does nothing.
        if (t.highlighted < 0)
            End(t, 0);
        else
            Choose(t, t.highlighted);
        return;
    default:
        TranslateMessage(&msg);
        return;
    }
}

int ItemAt(const MenuTracking& t, POINT client) {
    for (size_t i = 0; i < t.rects.size(); ++i)
        if (PtInRect(&t.rects[i], client)) return static_cast<int>(i);
    return -1;
}

void Mouse(MenuTracking& t, const MSG& msg) {
    if (msg.hwnd != t.window) return;
    Window* w = FindWin(t.window);
    if (!w) return;
    POINT client{static_cast<SHORT>(LOWORD(msg.lParam)), static_cast<SHORT>(HIWORD(msg.lParam))};
    POINT screen = client;
    ClientToScreen(t.window, &screen);
    bool inside = PtInRect(&w->rect, screen) != FALSE;
    int pos = ItemAt(t, client);
    if (msg.message == WM_LBUTTONDOWN) {
        if (!inside)
            End(t, 0);
        else if (pos >= 0 && !IsSeparator(t.items[pos]))
            Highlight(t, pos);
    } else if (msg.message == WM_LBUTTONUP) {
        if (inside && pos >= 0) Choose(t, pos);
    }
}

bool IsKeyboard(UINT m) { return m >= WM_KEYDOWN && m <= 0x0109; }
bool IsMouse(UINT m) { return m >= WM_MOUSEMOVE && m <= 0x020D; }

void Handle(MenuTracking& t, const MSG& msg) {
    if (IsKeyboard(msg.message)) {
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
            KeyDown(t, msg);
        else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR)
            TypeChar(t, static_cast<WCHAR>(msg.wParam));
        return;
    }
    if (IsMouse(msg.message)) {
        Mouse(t, msg);
        return;
    }
    DispatchMessageW(&msg);
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MenuTracking* t = Menus().tracking;
    if (message == WM_PAINT) {
        if (Window* w = FindWin(hwnd)) w->invalid = false;
        if (t && t->window == hwnd && !t->ended) {
            std::vector<int> all;
            for (size_t i = 0; i < t->items.size(); ++i) all.push_back(static_cast<int>(i));
            DrawItems(*t, all, ODA_DRAWENTIRE, t->highlighted);
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}


// The menu window belongs to the tracking thread, as on Win32, but it is the device's
// own: its creation is no call of the program's.
HWND CreateMenuWindow(MenuTracking& t) {
    const std::u16string& className = Menus().windowClass;
    RegisterDeviceClass(className.c_str(), MenuWindowProc);
    DeviceState& s = S();
    auto w = std::make_unique<Window>();
    HWND hwnd = NewHandle();
    w->handle = hwnd;
    w->program = t.program;
    w->className = className;
    w->proc = MenuWindowProc;
    w->style = WS_POPUP | WS_BORDER;
    w->exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;
    w->owner = t.owner;
    w->topmost = true;
    s.windows[reinterpret_cast<uintptr_t>(hwnd)] = std::move(w);
    s.zOrder.insert(s.zOrder.begin(), hwnd);
    s.generation++;
    return hwnd;
}

void DestroyMenuWindow(HWND hwnd) {
    DeviceState& s = S();
    if (!FindWin(hwnd)) return;
    s.zOrder.erase(std::remove(s.zOrder.begin(), s.zOrder.end(), hwnd), s.zOrder.end());
    s.windows.erase(reinterpret_cast<uintptr_t>(hwnd));
    if (s.focus == hwnd) s.focus = nullptr;
    s.generation++;
}

// Sizes every item (owner-drawn ones by WM_MEASUREITEM, string ones in the menu font)
// and lays them out one below the other across the menu's full width, inside the
// device's inset.
SIZE MeasureItems(MenuTracking& t) {
    std::vector<SIZE> sizes;
    HDC dc = GetDC(t.window);
    HGDIOBJ old = SelectObject(dc, t.font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    for (const MenuItem& item : t.items) {
        SIZE size{0, 0};
        if (item.flags & MF_SEPARATOR) {
            size.cy = kSeparatorHeight;
        } else if (item.flags & MF_OWNERDRAW) {
            MEASUREITEMSTRUCT mis{};
            mis.CtlType = ODT_MENU;
            mis.itemID = item.id;
            mis.itemWidth = 0;
            mis.itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
            mis.itemData = item.data;
            CallWindow(t.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
            // an owner-drawn item is as wide as its owner measured it, with nothing added
            size.cx = static_cast<LONG>(std::min<UINT>(mis.itemWidth, 0x7FFF));
            size.cy = static_cast<LONG>(std::min<UINT>(mis.itemHeight, 0x7FFF));
        } else {
            std::u16string shown = WithoutPrefix(item.text);
            SIZE extent{0, 0};
            GetTextExtentExPointW(dc, shown.c_str(), static_cast<int>(shown.size()), 0, nullptr, nullptr, &extent);
            size.cx = extent.cx + kStringMargin;
            size.cy = std::max<LONG>(tm.tmHeight + tm.tmExternalLeading + kStringPadding, GetSystemMetrics(SM_CYMENU));
        }
        sizes.push_back(size);
    }
    SelectObject(dc, old);
    ReleaseDC(t.window, dc);

    const LONG inset = Menus().itemInset;
    LONG width = 0, y = inset;
    for (const SIZE& s : sizes) width = std::max(width, s.cx);
    t.rects.clear();
    for (const SIZE& s : sizes) {
        t.rects.push_back(RECT{inset, y, inset + width, y + s.cy});
        y += s.cy;
    }
    return SIZE{width + 2 * inset, y + inset};
}

// Places the menu by the alignment flags, then keeps it on the anchor's monitor: a menu
// that would run off its right or bottom edge opens to the other side of the anchor when
// it fits there, and is pushed inside the monitor otherwise.
RECT PlaceMenu(UINT flags, POINT anchor, SIZE size) {
    const RECT bounds = MonitorNearest(anchor).screen;
    LONG left = anchor.x, top = anchor.y;
    if (flags & TPM_RIGHTALIGN)
        left -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        left -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        top -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        top -= size.cy / 2;
    if (left + size.cx > bounds.right) {
        bool flips = !(flags & (TPM_RIGHTALIGN | TPM_CENTERALIGN)) && anchor.x - size.cx >= bounds.left;
        left = flips ? anchor.x - size.cx : bounds.right - size.cx;
    }
    if (left < bounds.left) left = bounds.left;
    if (top + size.cy > bounds.bottom) {
        bool flips = !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)) && anchor.y - size.cy >= bounds.top;
        top = flips ? anchor.y - size.cy : bounds.bottom - size.cy;
    }
    if (top < bounds.top) top = bounds.top;
    return RECT{left, top, left + size.cx, top + size.cy};
}

void RunMenuLoop(MenuTracking& t) {
    Program* p = t.program;
    bool idleSent = false;
    auto stop = [&t] { return t.ended || !FindWin(t.window); };
    while (!stop()) {
        MSG msg;
        if (!NextMessage(p, &msg, nullptr, 0, 0, true, false)) {
            if (!idleSent) {
                idleSent = true;
                Notify(t, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(t.window));
                continue;
            }
            if (!NextMessage(p, &msg, nullptr, 0, 0, true, true, stop)) continue;
        }
        idleSent = false;
        if (msg.message == WM_QUIT) {
            End(t, 0);
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Handle(t, msg);
    }
}

// Drops the input still addressed to the menu window, such as the release of the tap
// that dismissed it.
void DropInputFor(Program* p, HWND hwnd) {
    auto& q = p->input;
    q.erase(std::remove_if(q.begin(), q.end(), [hwnd](const MSG& m) { return m.hwnd == hwnd; }), q.end());
}

}  // namespace

}  // namespace sim

using namespace sim;

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS) {
    Record("TrackPopupMenuEx", {reinterpret_cast<intptr_t>(menu), static_cast<intptr_t>(flags), x, y,
                                reinterpret_cast<intptr_t>(owner)});
    // The record grows (or is cleared by the test) while the menu is open: find the call
    // again by its place when the result is known.
    const size_t callIndex = S().calls.size() - 1;
    MenuState& ms = Menus();
    Program* p = CurrentProgram();
    Window* ownerWindow = FindWin(owner);
    if (!p || !ownerWindow || ownerWindow->program != p) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!FindMenu(menu)) {
        Fail(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (ms.tracking) {
        Fail(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }

    MenuTracking t;
    // Cleared however the loop ends, also when the device stops the program inside it.
    struct Forget {
        ~Forget() { Menus().tracking = nullptr; }
    } forget;
    t.menu = menu;
    t.owner = owner;
    t.program = p;
    t.flags = flags;
    t.anchor = POINT{x, y};
    ms.tracking = &t;

    Notify(t, WM_ENTERMENULOOP, TRUE, 0);
    Notify(t, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    Notify(t, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    MenuObject* m = FindMenu(menu);
    if (m && FindWin(owner)) {
        t.items = m->items;
        t.font = DevicePopupMenuFont(MonitorNearest(t.anchor).dpi);
        t.window = CreateMenuWindow(t);
        SIZE client = MeasureItems(t);
        Window* w = FindWin(t.window);
        if (w) {
            // one pixel of border on each side
            w->rect = PlaceMenu(flags, t.anchor, SIZE{client.cx + 2, client.cy + 2});
            w->visible = true;
            w->invalid = true;
            S().generation++;
        }
        HWND oldCapture = SetCapture(t.window);
        (void)oldCapture;
        RunMenuLoop(t);
        if (GetCapture() == t.window) ReleaseCapture();
        DropInputFor(p, t.window);
        DestroyMenuWindow(t.window);
    }
    ms.tracking = nullptr;
    if (FindWin(owner)) {
        Notify(t, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
        Notify(t, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        Notify(t, WM_EXITMENULOOP, TRUE, 0);
    }
    auto& calls = S().calls;
    if (callIndex < calls.size() && calls[callIndex].name == "TrackPopupMenuEx") calls[callIndex].result = t.chosen;
    if (flags & TPM_RETURNCMD) return static_cast<BOOL>(t.chosen);
    if (t.chosen) PostMessageW(owner, WM_COMMAND, t.chosen, 0);
    return TRUE;
}
