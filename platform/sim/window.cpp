// Window classes, windows, their geometry, Z order, activation and default processing.
#include <algorithm>

#include "faults.h"
#include "state.h"

namespace sim {

Window* FindWin(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto it = S().windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == S().windows.end() ? nullptr : it->second.get();
}

HWND NewHandle() {
    DeviceState& s = S();
    s.nextHandle += 4;
    return reinterpret_cast<HWND>(s.nextHandle);
}

static bool IsTopLevel(const Window& w) { return (w.style & WS_CHILD) == 0; }

static HWND RootOf(HWND hwnd) {
    Window* w = FindWin(hwnd);
    while (w && !IsTopLevel(*w) && w->parent) w = FindWin(w->parent);
    return w ? w->handle : nullptr;
}

// Size of the frame the device draws around a window, outside its client area.
static RECT FrameInsets(const Window& w) {
    int frame = 0;
    if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME))
        frame = 3;
    else if (w.style & WS_BORDER)
        frame = 1;
    int caption = ((w.style & WS_CAPTION) == WS_CAPTION) ? GetSystemMetrics(SM_CYCAPTION) : 0;
    return RECT{frame, frame + caption, frame, frame};
}

POINT ClientOriginOf(const Window& w) {
    RECT in = FrameInsets(w);
    POINT origin{w.rect.left + in.left, w.rect.top + in.top};
    if (!IsTopLevel(w) && w.parent) {
        if (Window* parent = FindWin(w.parent)) {
            POINT p = ClientOriginOf(*parent);
            origin.x += p.x;
            origin.y += p.y;
        }
    }
    return origin;
}

RECT ClientRectOf(const Window& w) {
    RECT in = FrameInsets(w);
    POINT o = ClientOriginOf(w);
    LONG width = std::max<LONG>(0, (w.rect.right - w.rect.left) - in.left - in.right);
    LONG height = std::max<LONG>(0, (w.rect.bottom - w.rect.top) - in.top - in.bottom);
    return RECT{o.x, o.y, o.x + width, o.y + height};
}

static RECT ScreenRectOf(const Window& w) {
    if (IsTopLevel(w) || !w.parent) return w.rect;
    Window* parent = FindWin(w.parent);
    if (!parent) return w.rect;
    POINT o = ClientOriginOf(*parent);
    return RECT{w.rect.left + o.x, w.rect.top + o.y, w.rect.right + o.x, w.rect.bottom + o.y};
}

static void RemoveFromZOrder(HWND hwnd) {
    auto& z = S().zOrder;
    z.erase(std::remove(z.begin(), z.end(), hwnd), z.end());
}

// Places a top-level window in the Z order: topmost windows stay above the others.
static void PlaceInZOrder(Window& w, HWND after) {
    auto& z = S().zOrder;
    RemoveFromZOrder(w.handle);
    auto firstNormal = std::find_if(z.begin(), z.end(), [](HWND h) {
        Window* o = FindWin(h);
        return o && !o->topmost;
    });
    if (after == HWND_TOPMOST) {
        w.topmost = true;
        z.insert(z.begin(), w.handle);
    } else if (after == HWND_NOTOPMOST) {
        w.topmost = false;
        z.insert(firstNormal, w.handle);
    } else if (after == HWND_TOP) {
        z.insert(w.topmost ? z.begin() : firstNormal, w.handle);
    } else if (after == HWND_BOTTOM) {
        w.topmost = false;
        z.push_back(w.handle);
    } else {
        auto it = std::find(z.begin(), z.end(), after);
        Window* a = FindWin(after);
        if (it == z.end() || !a) {
            z.insert(w.topmost ? z.begin() : firstNormal, w.handle);
        } else {
            w.topmost = a->topmost;
            z.insert(it + 1, w.handle);
        }
    }
}

static void Activate(HWND hwnd) {
    DeviceState& s = S();
    HWND root = RootOf(hwnd);
    Window* w = FindWin(root);
    if (!w) return;
    s.foreground = root;
    s.focus = root;
    PlaceInZOrder(*w, HWND_TOP);
}

static bool Owns(HWND owner, HWND hwnd) {
    for (Window* w = FindWin(hwnd); w; w = FindWin(w->owner))
        if (w->owner == owner) return true;
    return false;
}

void ActivateNextAfter(HWND leaving) {
    DeviceState& s = S();
    if (s.foreground != leaving && !Owns(leaving, s.foreground)) {
        if (s.focus == leaving) s.focus = s.foreground;
        return;
    }
    Window* gone = FindWin(leaving);
    // The owner takes the activation back when it can; otherwise the next window down.
    if (gone && gone->owner) {
        Window* owner = FindWin(gone->owner);
        if (owner && owner->visible && owner->enabled && !owner->destroying) {
            s.foreground = owner->handle;
            s.focus = owner->handle;
            return;
        }
    }
    for (HWND h : s.zOrder) {
        Window* w = FindWin(h);
        if (!w || h == leaving || w->destroying || !w->visible || !w->enabled || Owns(leaving, h)) continue;
        s.foreground = h;
        s.focus = h;
        return;
    }
    s.foreground = nullptr;
    s.focus = nullptr;
}

LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (!w) return 0;
    if (w->builtinProc) return w->builtinProc(hwnd, message, wParam, lParam);
    if (w->proc) return w->proc(hwnd, message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

static void DestroyOne(HWND hwnd, bool sendMessages) {
    DeviceState& s = S();
    Window* w = FindWin(hwnd);
    if (!w || w->destroying) return;
    w->destroying = true;

    std::vector<HWND> owned;
    for (auto& [key, o] : s.windows)
        if (o->owner == hwnd && !o->destroying) owned.push_back(o->handle);
    for (HWND h : owned) DestroyOne(h, sendMessages);

    if (w->visible) {
        w->visible = false;
        ActivateNextAfter(hwnd);
    } else if (s.foreground == hwnd || s.focus == hwnd) {
        ActivateNextAfter(hwnd);
    }
    if (sendMessages) CallWindow(hwnd, WM_DESTROY, 0, 0);

    std::vector<HWND> children;
    for (auto& [key, c] : s.windows)
        if (c->parent == hwnd && (c->style & WS_CHILD) && !c->destroying) children.push_back(c->handle);
    for (HWND h : children) DestroyOne(h, sendMessages);

    if (sendMessages) CallWindow(hwnd, WM_NCDESTROY, 0, 0);

    s.timers.erase(std::remove_if(s.timers.begin(), s.timers.end(), [&](const Timer& t) { return t.hwnd == hwnd; }),
                   s.timers.end());
    RemoveFromZOrder(hwnd);
    if (s.foreground == hwnd) s.foreground = nullptr;
    if (s.focus == hwnd) s.focus = nullptr;
    s.windows.erase(reinterpret_cast<uintptr_t>(hwnd));
    s.generation++;
}

void RegisterDeviceClass(const char16_t* name, WNDPROC proc) {
    DeviceState& s = S();
    std::u16string key = Lower(name);
    if (s.classes.count(key)) return;
    WindowClass c;
    c.name = name;
    c.wc.lpfnWndProc = proc;
    c.atom = s.nextAtom++;
    c.program = nullptr;
    s.classes[key] = c;
    s.classes[key].wc.lpszClassName = s.classes[key].name.c_str();
}

void DestroyWindowsOf(Program* p) {
    std::vector<HWND> mine;
    for (auto& [key, w] : S().windows)
        if (w->program == p && !w->parent) mine.push_back(w->handle);
    for (HWND h : mine) DestroyOne(h, false);
    std::vector<HWND> rest;
    for (auto& [key, w] : S().windows)
        if (w->program == p) rest.push_back(w->handle);
    for (HWND h : rest) DestroyOne(h, false);
    for (auto it = S().classes.begin(); it != S().classes.end();) {
        if (it->second.program == p)
            it = S().classes.erase(it);
        else
            ++it;
    }
}

// Fills a window with its class background (paint.cpp).
LRESULT EraseBackground(HWND hwnd, HDC dc);

}  // namespace sim

using namespace sim;

ATOM RegisterClassW(const WNDCLASSW* wc) {
    DeviceState& s = S();
    if (!wc || !wc->lpszClassName || IS_INTRESOURCE(wc->lpszClassName)) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string name = wc->lpszClassName;
    Record("RegisterClassW", {static_cast<intptr_t>(wc->style)}, name);
    std::u16string key = Lower(name);
    if (FaultHere(FaultPoint::ClassRegistration)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (s.classes.count(key)) {
        Fail(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    WindowClass c;
    c.name = name;
    c.wc = *wc;
    c.atom = s.nextAtom++;
    c.program = CurrentProgram();
    s.classes[key] = c;
    s.classes[key].wc.lpszClassName = s.classes[key].name.c_str();
    return c.atom;
}

BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    DeviceState& s = S();
    std::u16string name = FromWide(className);
    Record("UnregisterClassW", {}, name);
    auto it = s.classes.find(Lower(name));
    if (it == s.classes.end()) {
        Fail(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    for (auto& [key, w] : s.windows) {
        if (Lower(w->className) == it->first) {
            Fail(ERROR_CLASS_HAS_WINDOWS);
            return FALSE;
        }
    }
    s.classes.erase(it);
    return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    DeviceState& s = S();
    std::u16string cls = FromWide(className);
    Record("CreateWindowExW",
           {static_cast<intptr_t>(exStyle), static_cast<intptr_t>(style), x, y, width, height,
            reinterpret_cast<intptr_t>(parent)},
           cls, FromWide(title));
    auto it = s.classes.find(Lower(cls));
    if (it == s.classes.end()) {
        Fail(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    if (parent && !FindWin(parent)) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if ((style & WS_CHILD) && !parent) {
        Fail(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (FaultHere(FaultPoint::WindowCreation)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto w = std::make_unique<Window>();
    HWND hwnd = NewHandle();
    w->handle = hwnd;
    w->program = CurrentProgram();
    w->className = it->second.name;
    w->proc = it->second.wc.lpfnWndProc;
    w->title = FromWide(title);
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->enabled = (style & WS_DISABLED) == 0;
    if (style & WS_CHILD) {
        w->parent = parent;
        w->menuOrId = menu;
    } else {
        w->owner = parent ? RootOf(parent) : nullptr;
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    w->rect = RECT{x, y, x + width, y + height};
    w->topmost = (exStyle & WS_EX_TOPMOST) != 0;
    Window* raw = w.get();
    s.windows[reinterpret_cast<uintptr_t>(hwnd)] = std::move(w);
    if (!(style & WS_CHILD)) PlaceInZOrder(*raw, HWND_TOP);
    s.generation++;

    CREATESTRUCTW cs{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                     title, className, exStyle};
    LRESULT created = CallWindow(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs));
    if (created == -1 || !FindWin(hwnd)) {
        if (FindWin(hwnd)) DestroyWindow(hwnd);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(hwnd, (exStyle & WS_EX_TOPMOST) ? SW_SHOWNA : SW_SHOW);
    return hwnd;
}

BOOL DestroyWindow(HWND hwnd) {
    Record("DestroyWindow", {reinterpret_cast<intptr_t>(hwnd)});
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (CurrentProgram() && w->program != CurrentProgram()) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    DestroyOne(hwnd, true);
    return TRUE;
}

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    if (!w) return 0;
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam)) ? 1 : 0;
    case WM_SETTEXT:
        w->title = FromWide(reinterpret_cast<LPCWSTR>(lParam));
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        auto* out = reinterpret_cast<WCHAR*>(lParam);
        size_t n = std::min<size_t>(w->title.size(), wParam - 1);
        std::copy(w->title.begin(), w->title.begin() + n, out);
        out[n] = 0;
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(w->title.size());
    default:
        (void)wParam;
        return 0;
    }
}

BOOL ShowWindow(HWND hwnd, int command) {
    Record("ShowWindow", {reinterpret_cast<intptr_t>(hwnd), command});
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    if (command == SW_HIDE) {
        if (w->visible) {
            w->visible = false;
            ActivateNextAfter(hwnd);
            S().generation++;
        }
        return wasVisible;
    }
    if (!w->visible) {
        w->visible = true;
        w->invalid = true;
        w->erase = true;
        S().generation++;
    }
    bool activates = command != SW_SHOWNOACTIVATE && command != SW_SHOWNA && command != SW_SHOWMINNOACTIVE &&
                     command != SW_SHOWMINIMIZED && command != SW_MINIMIZE;
    if (activates && IsTopLevel(*w) && w->enabled) Activate(hwnd);
    return wasVisible;
}

BOOL UpdateWindow(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (w->invalid && w->visible) CallWindow(hwnd, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    Record("SetWindowPos", {reinterpret_cast<intptr_t>(hwnd), reinterpret_cast<intptr_t>(insertAfter), x, y, cx, cy,
                            static_cast<intptr_t>(flags)});
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!(flags & SWP_NOMOVE)) {
        LONG width = w->rect.right - w->rect.left, height = w->rect.bottom - w->rect.top;
        w->rect = RECT{x, y, x + width, y + height};
    }
    if (!(flags & SWP_NOSIZE)) {
        w->rect.right = w->rect.left + cx;
        w->rect.bottom = w->rect.top + cy;
    }
    if (!(flags & SWP_NOZORDER) && IsTopLevel(*w)) PlaceInZOrder(*w, insertAfter);
    if (flags & SWP_SHOWWINDOW) {
        if (!w->visible) w->erase = true;
        w->visible = true;
    }
    if (!(flags & SWP_NOREDRAW) && w->visible && (!(flags & SWP_NOSIZE) || (flags & SWP_SHOWWINDOW)))
        w->invalid = true;
    if (flags & SWP_HIDEWINDOW) {
        if (w->visible) {
            w->visible = false;
            ActivateNextAfter(hwnd);
        }
    } else if (!(flags & SWP_NOACTIVATE) && IsTopLevel(*w) && w->visible && w->enabled) {
        S().foreground = hwnd;
        S().focus = hwnd;
    }
    S().generation++;
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    Record("MoveWindow", {reinterpret_cast<intptr_t>(hwnd), x, y, width, height, repaint});
    Window* w = FindWin(hwnd);
    if (!w) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    w->rect = RECT{x, y, x + width, y + height};
    if (repaint && w->visible) w->invalid = true;
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FindWin(hwnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hwnd) {
    for (Window* w = FindWin(hwnd); w; w = FindWin(w->parent)) {
        if (!w->visible) return FALSE;
        if (!(w->style & WS_CHILD)) return TRUE;
    }
    return FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    Window* w = FindWin(hwnd);
    return w && w->enabled ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    Record("EnableWindow", {reinterpret_cast<intptr_t>(hwnd), enable});
    Window* w = FindWin(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = w->enabled ? FALSE : TRUE;
    w->enabled = enable != FALSE;
    if (!w->enabled && S().focus == hwnd) S().focus = w->parent ? RootOf(hwnd) : nullptr;
    return wasDisabled;
}

HWND FindWindowW(LPCWSTR className, LPCWSTR title) {
    DeviceState& s = S();
    std::u16string cls = Lower(FromWide(className));
    for (HWND h : s.zOrder) {
        Window* w = FindWin(h);
        if (!w) continue;
        if (className && Lower(w->className) != cls) continue;
        if (title && w->title != title) continue;
        return h;
    }
    return nullptr;
}

HWND GetParent(HWND hwnd) {
    Window* w = FindWin(hwnd);
    if (!w) return nullptr;
    return (w->style & WS_CHILD) ? w->parent : w->owner;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    Window* w = FindWin(hwnd);
    if (!w) return nullptr;
    return relation == GW_OWNER ? w->owner : nullptr;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    Window* w = FindWin(hwnd);
    if (!w || !rect) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    RECT c = ClientRectOf(*w);
    *rect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    Window* w = FindWin(hwnd);
    if (!w || !rect) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = ScreenRectOf(*w);
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
    POINT a{0, 0}, b{0, 0};
    if (from) {
        Window* w = FindWin(from);
        if (!w) {
            Fail(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        a = ClientOriginOf(*w);
    }
    if (to) {
        Window* w = FindWin(to);
        if (!w) {
            Fail(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        b = ClientOriginOf(*w);
    }
    LONG dx = a.x - b.x, dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    Fail(ERROR_SUCCESS);
    return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    Window* w = FindWin(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginOf(*w);
    point->x += o.x;
    point->y += o.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    Window* w = FindWin(hwnd);
    if (!w || !point) return FALSE;
    POINT o = ClientOriginOf(*w);
    point->x -= o.x;
    point->y -= o.y;
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    if (!rect) return FALSE;
    return point.x >= rect->left && point.x < rect->right && point.y >= rect->top && point.y < rect->bottom;
}

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

int GetWindowTextW(HWND hwnd, LPWSTR text, int count) {
    if (!text || count <= 0) return 0;
    text[0] = 0;
    if (!FindWin(hwnd)) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(text)));
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!FindWin(hwnd)) return FALSE;
    return static_cast<BOOL>(SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
    Window* w = FindWin(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(w->style | (w->visible ? WS_VISIBLE : 0) | (w->enabled ? 0 : WS_DISABLED));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(w->exStyle | (w->topmost ? WS_EX_TOPMOST : 0));
    case GWLP_USERDATA: return w->userData;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    Window* w = FindWin(hwnd);
    if (!w) return 0;
    if (index == GWLP_USERDATA) {
        LONG_PTR old = w->userData;
        w->userData = value;
        return old;
    }
    return 0;
}

HWND GetForegroundWindow() { return S().foreground; }

BOOL SetForegroundWindow(HWND hwnd) {
    Record("SetForegroundWindow", {reinterpret_cast<intptr_t>(hwnd)});
    Window* w = FindWin(hwnd);
    if (!w) return FALSE;
    Activate(hwnd);
    S().generation++;
    return TRUE;
}

HWND GetActiveWindow() {
    HWND fg = S().foreground;
    Window* w = FindWin(fg);
    return w && w->program == CurrentProgram() ? fg : nullptr;
}

HWND SetFocus(HWND hwnd) {
    HWND old = S().focus;
    if (hwnd && !FindWin(hwnd)) return nullptr;
    S().focus = hwnd;
    return old;
}

HWND GetFocus() { return S().focus; }
