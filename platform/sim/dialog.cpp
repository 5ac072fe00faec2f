// Modal dialogs from DLGTEMPLATE images: the dialog window, its button, edit and static
// controls, the modal loop with the dialog keys (Tab, Enter, Escape), and EndDialog.
#include "dialog.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "input.h"

namespace sim {

namespace {

constexpr UINT kEmGetSel = 0x00B0;
constexpr UINT kEmSetSel = 0x00B1;
constexpr UINT kVkEnd = 0x23;
constexpr UINT kVkHome = 0x24;
constexpr DWORD kSsTypeMask = 0x1F;
constexpr DWORD kErrorControlIdNotFound = 1421;
constexpr size_t kMaxTemplateText = 1024;
constexpr WORD kMaxTemplateItems = 255;
constexpr size_t kNoEditLimit = 0x7FFFFFFE;

enum class Kind { Button, Edit, Static };

struct ControlState {
    Kind kind = Kind::Static;
    int check = 0;
    WORD iconId = 0;
    size_t caret = 0;     // edit: insertion point
    size_t anchor = 0;    // edit: the other end of the selection
    size_t limit = kNoEditLimit;
};

struct DialogState {
    DLGPROC proc = nullptr;
    HWND focus = nullptr;       // the control that has the focus while the dialog is active
    HWND disabledOwner = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    size_t record = 0;
};

}  // namespace

struct DialogTable {
    std::map<uintptr_t, DialogState> dialogs;
    std::map<uintptr_t, ControlState> controls;
    std::vector<DialogRecord> records;
};

namespace {

DialogTable& Table() { return PartOf(S().dialogs); }

uintptr_t Key(HWND hwnd) { return reinterpret_cast<uintptr_t>(hwnd); }

DialogState* FindDialog(HWND hwnd) {
    auto it = Table().dialogs.find(Key(hwnd));
    return it == Table().dialogs.end() ? nullptr : &it->second;
}

ControlState* FindControl(HWND hwnd) {
    auto it = Table().controls.find(Key(hwnd));
    return it == Table().controls.end() ? nullptr : &it->second;
}

int MulDivRound(int value, int numerator, int denominator) {
    long long product = static_cast<long long>(value) * numerator;
    long long half = denominator / 2;
    return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

int ControlId(const Window& w) {
    return static_cast<SHORT>(static_cast<WORD>(reinterpret_cast<uintptr_t>(w.menuOrId)));
}

std::vector<HWND> ChildrenOf(HWND dialog) {
    std::vector<HWND> out;
    for (auto& [key, w] : S().windows)
        if (w->parent == dialog && (w->style & WS_CHILD)) out.push_back(w->handle);
    return out;
}

bool IsWithin(HWND root, HWND hwnd) {
    for (Window* w = FindWin(hwnd); w; w = (w->style & WS_CHILD) ? FindWin(w->parent) : nullptr)
        if (w->handle == root) return true;
    return false;
}

// ---- the template ----

struct ItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    WORD classAtom = 0;
    std::u16string className;
    bool textIsOrdinal = false;
    WORD textOrdinal = 0;
    std::u16string text;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    bool hasFont = false;
    WORD pointSize = 0;
    std::u16string face;
    std::vector<ItemTemplate> items;
};

struct TemplateReader {
    const unsigned char* base;
    const unsigned char* at;
    bool ok = true;

    WORD Word() {
        WORD w;
        std::memcpy(&w, at, 2);
        at += 2;
        return w;
    }
    DWORD Dword() {
        DWORD d;
        std::memcpy(&d, at, 4);
        at += 4;
        return d;
    }
    short Short() { return static_cast<short>(Word()); }
    void AlignToDword() { at = base + ((static_cast<size_t>(at - base) + 3) & ~static_cast<size_t>(3)); }
    std::u16string String() {
        std::u16string s;
        for (size_t n = 0; n < kMaxTemplateText; ++n) {
            WORD c = Word();
            if (!c) return s;
            s += static_cast<char16_t>(c);
        }
        ok = false;
        return s;
    }
    // A field that holds nothing (0), an ordinal (0xFFFF, then the number) or a string.
    void NameOrOrdinal(bool& isOrdinal, WORD& ordinal, std::u16string& text) {
        WORD first = Word();
        if (first == 0) return;
        if (first == 0xFFFF) {
            isOrdinal = true;
            ordinal = Word();
            return;
        }
        text = static_cast<char16_t>(first) + String();
    }
};

bool ParseTemplate(const unsigned char* bytes, DialogTemplate& t) {
    TemplateReader r{bytes, bytes};
    WORD version, signature;
    std::memcpy(&version, bytes, 2);
    std::memcpy(&signature, bytes + 2, 2);
    if (version == 1 && signature == 0xFFFF) return false;  // the extended form is not modelled
    t.style = r.Dword();
    t.exStyle = r.Dword();
    WORD count = r.Word();
    t.x = r.Short();
    t.y = r.Short();
    t.cx = r.Short();
    t.cy = r.Short();
    if (count > kMaxTemplateItems) return false;
    bool isOrdinal = false;
    WORD ordinal = 0;
    std::u16string unused;
    r.NameOrOrdinal(isOrdinal, ordinal, unused);  // menu
    r.NameOrOrdinal(isOrdinal, ordinal, unused);  // window class
    t.caption = r.String();
    if (t.style & DS_SETFONT) {
        t.hasFont = true;
        t.pointSize = r.Word();
        t.face = r.String();
    }
    for (WORD i = 0; i < count && r.ok; ++i) {
        r.AlignToDword();
        ItemTemplate item;
        item.style = r.Dword();
        item.exStyle = r.Dword();
        item.x = r.Short();
        item.y = r.Short();
        item.cx = r.Short();
        item.cy = r.Short();
        item.id = r.Word();
        bool classIsAtom = false;
        r.NameOrOrdinal(classIsAtom, item.classAtom, item.className);
        r.NameOrOrdinal(item.textIsOrdinal, item.textOrdinal, item.text);
        WORD extra = r.Word();
        if (extra >= 2) r.at += extra - 2;  // creation data; its size counts the size word
        t.items.push_back(item);
    }
    return r.ok;
}

bool KindOfClass(const ItemTemplate& item, Kind& kind, std::u16string& name) {
    std::u16string lower = Lower(item.className);
    if (item.classAtom == 0x0080 || lower == u"button") {
        kind = Kind::Button;
        name = u"Button";
    } else if (item.classAtom == 0x0081 || lower == u"edit") {
        kind = Kind::Edit;
        name = u"Edit";
    } else if (item.classAtom == 0x0082 || lower == u"static") {
        kind = Kind::Static;
        name = u"Static";
    } else {
        return false;
    }
    return true;
}

// ---- focus and the dialog keys ----

bool TakesFocus(HWND hwnd) {
    Window* w = FindWin(hwnd);
    ControlState* c = FindControl(hwnd);
    return w && c && c->kind != Kind::Static && w->visible && w->enabled;
}

HWND FirstTabStop(HWND dialog) {
    for (HWND h : ChildrenOf(dialog)) {
        Window* w = FindWin(h);
        if (w && (w->style & WS_TABSTOP) && TakesFocus(h)) return h;
    }
    return nullptr;
}

HWND NextTabStop(HWND dialog, HWND from, bool backwards) {
    std::vector<HWND> stops;
    for (HWND h : ChildrenOf(dialog)) {
        Window* w = FindWin(h);
        if (w && (w->style & WS_TABSTOP) && TakesFocus(h)) stops.push_back(h);
    }
    if (stops.empty()) return nullptr;
    auto it = std::find(stops.begin(), stops.end(), from);
    if (it == stops.end()) return backwards ? stops.back() : stops.front();
    size_t index = static_cast<size_t>(it - stops.begin());
    size_t n = stops.size();
    return stops[backwards ? (index + n - 1) % n : (index + 1) % n];
}

void FocusControl(HWND dialog, HWND control, bool byKeyboard) {
    DialogState* d = FindDialog(dialog);
    if (!d || !control) return;
    d->focus = control;
    S().focus = control;
    ControlState* c = FindControl(control);
    // An edit box reached from the keyboard has its whole text selected, ready to be typed over.
    if (byKeyboard && c && c->kind == Kind::Edit) {
        c->anchor = 0;
        c->caret = FindWin(control)->title.size();
    }
}

// A tap on a control moves the device's focus to it; the dialog follows, except onto a
// static, which takes no focus.
void FollowFocus(HWND dialog) {
    DialogState* d = FindDialog(dialog);
    HWND focus = S().focus;
    if (!d || !focus || focus == dialog || !IsWithin(dialog, focus)) return;
    if (TakesFocus(focus))
        d->focus = focus;
    else if (d->focus && FindWin(d->focus))
        S().focus = d->focus;
}

void PressDefaultButton(HWND dialog) {
    DialogState* d = FindDialog(dialog);
    HWND button = nullptr;
    if (d && d->focus) {
        Window* w = FindWin(d->focus);
        ControlState* c = FindControl(d->focus);
        DWORD type = w ? (w->style & BS_TYPEMASK) : 0;
        if (c && c->kind == Kind::Button && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) button = d->focus;
    }
    if (!button) {
        for (HWND h : ChildrenOf(dialog)) {
            Window* w = FindWin(h);
            ControlState* c = FindControl(h);
            if (w && c && c->kind == Kind::Button && (w->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
                button = h;
                break;
            }
        }
    }
    if (button && !FindWin(button)->enabled) {
        MessageBeep(0);
        return;
    }
    int id = button ? ControlId(*FindWin(button)) : IDOK;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

bool IsKeyboardMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN ||
           message == WM_SYSKEYUP || message == WM_SYSCHAR;
}

// What IsDialogMessage does for the modal loop: true when the message was consumed.
bool HandleDialogMessage(HWND dialog, MSG& msg) {
    if (!msg.hwnd || !IsWithin(dialog, msg.hwnd)) return false;
    DialogState* d = FindDialog(dialog);
    if (!d) return false;
    // Keys that reach the dialog window itself belong to the control it gave the focus.
    if (msg.hwnd == dialog && IsKeyboardMessage(msg.message) && d->focus && FindWin(d->focus)) msg.hwnd = d->focus;
    if (msg.message != WM_KEYDOWN) return false;
    switch (msg.wParam) {
    case VK_TAB:
        FocusControl(dialog, NextTabStop(dialog, d->focus, IsKeyDown(VK_SHIFT)), true);
        return true;
    case VK_RETURN:
        PressDefaultButton(dialog);
        return true;
    case VK_ESCAPE:
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return true;
    default:
        return false;
    }
}

// ---- the controls ----

bool IsCheckBox(DWORD style) {
    DWORD type = style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == 5 || type == 6;
}

bool IsThreeState(DWORD style) {
    DWORD type = style & BS_TYPEMASK;
    return type == 5 || type == 6;
}

void NotifyParent(HWND control, WORD code) {
    Window* w = FindWin(control);
    if (!w || !w->parent) return;
    SendMessageW(w->parent, WM_COMMAND, MAKEWPARAM(ControlId(*w), code), reinterpret_cast<LPARAM>(control));
}

void ClickButton(HWND hwnd) {
    Window* w = FindWin(hwnd);
    ControlState* c = FindControl(hwnd);
    if (!w || !c || !w->enabled) return;
    DWORD type = w->style & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX) c->check = c->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    if (type == 6) c->check = (c->check + 1) % 3;
    NotifyParent(hwnd, BN_CLICKED);
}

void FocusFromTap(HWND control) {
    Window* w = FindWin(control);
    if (!w || !w->parent || !FindDialog(w->parent)) return;
    FocusControl(w->parent, control, false);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    ControlState* c = FindControl(hwnd);
    if (!w || !c) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case BM_GETCHECK:
        return IsCheckBox(w->style) ? c->check : 0;
    case BM_SETCHECK:
        if (IsCheckBox(w->style))
            c->check = static_cast<int>(std::min<WPARAM>(wParam, IsThreeState(w->style) ? 2 : 1));
        return 0;
    case BM_CLICK:
        ClickButton(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        if (w->enabled) FocusFromTap(hwnd);
        return 0;
    case WM_LBUTTONUP: {
        RECT client;
        GetClientRect(hwnd, &client);
        POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        if (w->enabled && PtInRect(&client, at)) ClickButton(hwnd);
        return 0;
    }
    case WM_KEYUP:
        if (wParam == VK_SPACE) ClickButton(hwnd);
        return 0;
    case WM_NCDESTROY:
        Table().controls.erase(Key(hwnd));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void ReplaceSelection(HWND hwnd, Window& w, ControlState& c, const std::u16string& with) {
    size_t from = std::min(c.anchor, c.caret), to = std::max(c.anchor, c.caret);
    to = std::min(to, w.title.size());
    from = std::min(from, to);
    if (w.title.size() - (to - from) + with.size() > c.limit) {
        MessageBeep(0);
        return;
    }
    w.title.replace(from, to - from, with);
    c.caret = c.anchor = from + with.size();
    NotifyParent(hwnd, EN_CHANGE);
}

void EditKey(HWND hwnd, Window& w, ControlState& c, UINT vk) {
    size_t size = w.title.size();
    switch (vk) {
    case VK_LEFT:
        c.caret = c.anchor = c.caret > 0 ? std::min(c.caret, size) - 1 : 0;
        break;
    case VK_RIGHT:
        c.caret = c.anchor = std::min(c.caret + 1, size);
        break;
    case kVkHome:
        c.caret = c.anchor = 0;
        break;
    case kVkEnd:
        c.caret = c.anchor = size;
        break;
    case VK_DELETE:
        if (c.caret == c.anchor && c.caret < size) c.anchor = c.caret + 1;
        ReplaceSelection(hwnd, w, c, u"");
        break;
    default:
        break;
    }
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWin(hwnd);
    ControlState* c = FindControl(hwnd);
    if (!w || !c) return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CHAR: {
        if (!w->enabled) return 0;
        WCHAR ch = static_cast<WCHAR>(wParam);
        if (ch == 8) {
            if (c->caret == c->anchor && c->caret > 0) c->anchor = c->caret - 1;
            ReplaceSelection(hwnd, *w, *c, u"");
        } else if (ch >= 32 && ch != 127) {
            if ((w->style & ES_UPPERCASE) && ch >= u'a' && ch <= u'z') ch = static_cast<WCHAR>(ch - 32);
            ReplaceSelection(hwnd, *w, *c, std::u16string(1, ch));
        }
        return 0;
    }
    case WM_KEYDOWN:
        if (w->enabled) EditKey(hwnd, *w, *c, static_cast<UINT>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
        // The device's edit box has no text layout: a tap puts the caret after the text.
        if (w->enabled) {
            FocusFromTap(hwnd);
            c->caret = c->anchor = w->title.size();
        }
        return 0;
    case WM_SETTEXT: {
        LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
        c->caret = c->anchor = w->title.size();
        return r;
    }
    case kEmSetSel: {
        size_t size = w->title.size();
        auto start = static_cast<intptr_t>(wParam), end = static_cast<intptr_t>(lParam);
        if (start < 0) {
            c->anchor = c->caret;
            return 0;
        }
        c->anchor = std::min(static_cast<size_t>(start), size);
        c->caret = end < 0 ? size : std::min(static_cast<size_t>(end), size);
        return 0;
    }
    case kEmGetSel: {
        size_t from = std::min(c->anchor, c->caret), to = std::max(c->anchor, c->caret);
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(from);
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(to);
        return MAKELRESULT(from, to);
    }
    case EM_LIMITTEXT:
        c->limit = wParam ? static_cast<size_t>(wParam) : kNoEditLimit;
        return 0;
    case WM_NCDESTROY:
        Table().controls.erase(Key(hwnd));
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        Table().controls.erase(Key(hwnd));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// What DefDlgProc does around the program's dialog procedure.
LRESULT DialogWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DialogState* d = FindDialog(hwnd);
    DLGPROC proc = d ? d->proc : nullptr;
    INT_PTR handled = proc ? proc(hwnd, message, wParam, lParam) : FALSE;
    if (message == WM_NCDESTROY) {
        Table().dialogs.erase(Key(hwnd));
        return 0;
    }
    if (handled || message == WM_INITDIALOG) return handled;
    switch (message) {
    case WM_CLOSE:
        PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(hwnd, IDCANCEL)));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void EnsureClasses() {
    RegisterDeviceClass(u"Dialog", DefWindowProcW);
    RegisterDeviceClass(u"Button", ButtonProc);
    RegisterDeviceClass(u"Edit", EditProc);
    RegisterDeviceClass(u"Static", StaticProc);
}

// ---- building the dialog ----

bool CreateControls(HWND dialog, const DialogTemplate& t, HINSTANCE instance, SIZE base) {
    for (const ItemTemplate& item : t.items) {
        Kind kind;
        std::u16string className;
        if (!KindOfClass(item, kind, className)) return false;
        HWND control = CreateWindowExW(item.exStyle, className.c_str(), item.text.c_str(), item.style | WS_CHILD,
                                       MulDivRound(item.x, base.cx, 4), MulDivRound(item.y, base.cy, 8),
                                       MulDivRound(item.cx, base.cx, 4), MulDivRound(item.cy, base.cy, 8), dialog,
                                       reinterpret_cast<HMENU>(static_cast<uintptr_t>(item.id)), instance, nullptr);
        if (!control) return false;
        ControlState c;
        c.kind = kind;
        c.caret = c.anchor = item.text.size();
        if (kind == Kind::Static && (item.style & kSsTypeMask) == SS_ICON && item.textIsOrdinal &&
            LoadIconW(instance, MAKEINTRESOURCEW(item.textOrdinal))) {
            c.iconId = item.textOrdinal;
            // A static icon takes the size of its icon.
            Window* w = FindWin(control);
            int size = GetSystemMetrics(SM_CXICON);
            w->rect.right = w->rect.left + size;
            w->rect.bottom = w->rect.top + size;
        }
        Table().controls[Key(control)] = c;
    }
    return true;
}

HWND CreateDialogWindow(const DialogTemplate& t, HINSTANCE instance, HWND owner, DLGPROC proc) {
    EnsureClasses();
    SIZE base = DialogBaseUnits(t.hasFont ? t.pointSize : 0);
    DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    int clientWidth = MulDivRound(t.cx, base.cx, 4), clientHeight = MulDivRound(t.cy, base.cy, 8);
    HWND dialog = CreateWindowExW(exStyle, u"Dialog", t.caption.c_str(), t.style & ~WS_VISIBLE, 0, 0, clientWidth,
                                  clientHeight, owner, nullptr, instance, nullptr);
    if (!dialog) return nullptr;
    Window* w = FindWin(dialog);
    w->builtinProc = DialogWindowProc;
    DialogState d;
    d.proc = proc;
    Table().dialogs[Key(dialog)] = d;

    // The template gives the client area; the frame and caption go around it.
    RECT client = ClientRectOf(*w);
    int insetLeft = client.left - w->rect.left, insetTop = client.top - w->rect.top;
    int frameWidth = (w->rect.right - w->rect.left) - (client.right - client.left);
    int frameHeight = (w->rect.bottom - w->rect.top) - (client.bottom - client.top);
    POINT origin{MulDivRound(t.x, base.cx, 4), MulDivRound(t.y, base.cy, 8)};
    if (Window* o = FindWin(w->owner)) {
        POINT o2 = ClientOriginOf(*o);
        origin.x += o2.x;
        origin.y += o2.y;
    }
    w->rect = RECT{origin.x - insetLeft, origin.y - insetTop, origin.x - insetLeft + clientWidth + frameWidth,
                   origin.y - insetTop + clientHeight + frameHeight};

    if (!CreateControls(dialog, t, instance, base)) {
        DestroyWindow(dialog);
        return nullptr;
    }
    return dialog;
}

void ReleaseOwner(DialogState& d) {
    if (d.disabledOwner && FindWin(d.disabledOwner)) EnableWindow(d.disabledOwner, TRUE);
    d.disabledOwner = nullptr;
}

}  // namespace

SIZE DialogBaseUnits(int pointSize) {
    int height = MulDivRound(pointSize > 0 ? pointSize : 9, 96, 72);
    return SIZE{(height + 1) / 2, height};
}

const std::vector<DialogRecord>& Device::Dialogs() const { return Table().records; }

HWND Device::OpenDialog() const {
    auto& records = Table().records;
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->window && !it->returned && FindWin(it->window) && !it->ended) return it->window;
    return nullptr;
}

std::vector<ControlInfo> Device::DialogControls(HWND dialog) const {
    std::vector<ControlInfo> out;
    for (HWND h : ChildrenOf(dialog)) {
        sim::Window* w = FindWin(h);
        ControlState* c = FindControl(h);
        if (!w) continue;
        ControlInfo info;
        info.hwnd = h;
        info.id = ControlId(*w);
        info.className = w->className;
        info.style = w->style;
        info.text = w->title;
        info.check = c ? c->check : 0;
        info.enabled = w->enabled;
        info.visible = w->visible;
        info.focused = S().focus == h;
        GetWindowRect(h, &info.rect);
        info.iconId = c ? c->iconId : 0;
        out.push_back(info);
    }
    return out;
}

std::optional<ControlInfo> Device::FindDialogControl(HWND dialog, int id) const {
    for (const ControlInfo& info : DialogControls(dialog))
        if (info.id == id) return info;
    return std::nullopt;
}

void Device::TapDialogControl(HWND dialog, int id) {
    std::optional<ControlInfo> control = FindDialogControl(dialog, id);
    if (!control) throw std::logic_error("the dialog has no control with that id");
    TapAt(POINT{(control->rect.left + control->rect.right) / 2, (control->rect.top + control->rect.bottom) / 2});
    RunUntilIdleImpl();
}

void Device::TapDialogClose(HWND dialog) {
    if (!FindDialog(dialog)) throw std::logic_error("no such dialog");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    RunUntilIdleImpl();
}

}  // namespace sim

using namespace sim;

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner, DLGPROC proc,
                                LPARAM param) {
    Program* p = CurrentProgram();
    DialogTemplate t;
    bool parsed = dialogTemplate && ParseTemplate(reinterpret_cast<const unsigned char*>(dialogTemplate), t);
    Record("DialogBoxIndirectParamW", {reinterpret_cast<intptr_t>(owner), param}, t.caption);
    if (!p || !parsed) {
        Fail(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (owner && !FindWin(owner)) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND dialog = CreateDialogWindow(t, instance, owner, proc);
    if (!dialog) return -1;
    size_t record = Table().records.size();
    Table().records.push_back(DialogRecord{p->id, dialog, FindWin(dialog)->owner, t.caption});
    FindDialog(dialog)->record = record;

    HWND first = FirstTabStop(dialog);
    LRESULT wantsFocus = CallWindow(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (wantsFocus && first && FindWin(first)) FocusControl(dialog, first, true);

    if (DialogState* d = FindDialog(dialog); d && !d->ended) {
        HWND ownerWindow = FindWin(dialog)->owner;
        if (ownerWindow && IsWindowEnabled(ownerWindow)) {
            EnableWindow(ownerWindow, FALSE);
            d->disabledOwner = ownerWindow;
        }
        ShowWindow(dialog, SW_SHOWNORMAL);
        // Activation put the focus on the dialog window; it goes back to its control.
        if (d->focus && FindWin(d->focus)) S().focus = d->focus;
    }

    auto finished = [dialog] {
        DialogState* d = FindDialog(dialog);
        return !d || d->ended;
    };
    int quitCode = 0;
    bool quit = RunModalLoop(p, finished, [dialog](MSG& msg) {
        FollowFocus(dialog);
        return HandleDialogMessage(dialog, msg);
    }, &quitCode);

    INT_PTR result = -1;
    if (DialogState* d = FindDialog(dialog)) {
        if (d->ended) result = d->result;
        ReleaseOwner(*d);
    }
    if (FindWin(dialog)) DestroyWindow(dialog);
    DialogRecord& done = Table().records[record];
    done.window = nullptr;
    done.result = result;
    done.returned = true;
    if (quit) PostQuitMessage(quitCode);
    return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    Record("EndDialog", {reinterpret_cast<intptr_t>(dialog), result});
    DialogState* d = FindDialog(dialog);
    if (!d) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    d->ended = true;
    d->result = result;
    Table().records[d->record].ended = true;
    ReleaseOwner(*d);
    // The dialog disappears at once; the modal loop destroys it when it sees the end.
    Window* w = FindWin(dialog);
    if (w && w->visible) {
        w->visible = false;
        ActivateNextAfter(dialog);
    }
    if (w && w->program) w->program->wake = true;
    S().generation++;
    return TRUE;
}

HWND GetDlgItem(HWND dialog, int id) {
    if (!FindWin(dialog)) {
        Fail(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND h : ChildrenOf(dialog))
        if (static_cast<WORD>(ControlId(*FindWin(h))) == static_cast<WORD>(id)) return h;
    Fail(kErrorControlIdNotFound);
    return nullptr;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND item = GetDlgItem(dialog, id);
    return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    Record("SetDlgItemTextW", {reinterpret_cast<intptr_t>(dialog), id}, FromWide(text));
    HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int count) {
    if (!text || count <= 0) return 0;
    text[0] = 0;
    HWND item = GetDlgItem(dialog, id);
    if (!item) return 0;
    return static_cast<UINT>(SendMessageW(item, WM_GETTEXT, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(text)));
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    HWND item = GetDlgItem(dialog, id);
    if (!item) return FALSE;
    SendMessageW(item, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}
