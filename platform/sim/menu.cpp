// Popup menus as objects: creation, items, destruction with accounting, and what a test
// sees of the menu that is open. Tracking is in menu_track.cpp.
#include "menu.h"

#include "device.h"
#include "faults.h"

namespace sim {

MenuState& Menus() { return PartOf(S().menus); }

MenuObject* FindMenu(HMENU menu) {
    auto& menus = Menus().menus;
    auto it = menus.find(reinterpret_cast<uintptr_t>(menu));
    return it == menus.end() ? nullptr : &it->second;
}

static RECT Offset(RECT r, POINT by) { return RECT{r.left + by.x, r.top + by.y, r.right + by.x, r.bottom + by.y}; }

std::optional<OpenMenuInfo> Device::OpenMenu() const {
    MenuTracking* t = Menus().tracking;
    if (!t || t->ended) return std::nullopt;
    sim::Window* w = FindWin(t->window);
    if (!w) return std::nullopt;
    OpenMenuInfo info;
    info.menu = t->menu;
    info.window = t->window;
    info.owner = t->owner;
    info.program = t->program ? t->program->id : 0;
    info.flags = t->flags;
    info.anchor = t->anchor;
    info.rect = w->rect;
    info.highlighted = t->highlighted;
    POINT origin = ClientOriginOf(*w);
    for (size_t i = 0; i < t->items.size(); ++i) {
        const MenuItem& item = t->items[i];
        OpenMenuItem o;
        o.position = static_cast<int>(i);
        o.flags = item.flags;
        o.id = item.id;
        o.text = item.text;
        o.data = item.data;
        o.rect = t->rects[i];
        o.screen = Offset(t->rects[i], origin);
        o.highlighted = static_cast<int>(i) == t->highlighted;
        info.items.push_back(o);
    }
    return info;
}

void Device::TapMenuItem(int position) {
    auto open = OpenMenu();
    if (!open) throw std::logic_error("TapMenuItem: no menu is open");
    if (position < 0 || position >= static_cast<int>(open->items.size()))
        throw std::logic_error("TapMenuItem: no item at that position");
    const RECT& r = open->items[position].screen;
    Device::Current().Tap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void Device::TapOutsideMenu() {
    auto open = OpenMenu();
    if (!open) throw std::logic_error("TapOutsideMenu: no menu is open");
    const RECT& r = open->rect;
    const int width = S().options.screenWidth, height = S().options.screenHeight;
    POINT corners[] = {{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}};
    for (POINT p : corners) {
        if (!PtInRect(&r, p)) {
            Device::Current().Tap(p.x, p.y);
            return;
        }
    }
    throw std::logic_error("TapOutsideMenu: the menu covers the whole screen");
}

size_t Device::LiveMenus(int program) const {
    size_t n = 0;
    for (auto& [key, m] : Menus().menus)
        if (m.program == program) ++n;
    return n;
}

void Device::SetMenuWindowClass(const std::u16string& className) { Menus().windowClass = className; }
void Device::SetMenuItemInset(int pixels) { Menus().itemInset = pixels; }

}  // namespace sim

using namespace sim;

HMENU CreatePopupMenu() {
    Call& call = Record("CreatePopupMenu", {});
    if (FaultHere(FaultPoint::MenuCreation)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    HMENU menu = reinterpret_cast<HMENU>(NewHandle());
    MenuObject m;
    m.handle = menu;
    m.program = CurrentProgramId();
    Menus().menus[reinterpret_cast<uintptr_t>(menu)] = m;
    call.result = reinterpret_cast<intptr_t>(menu);
    return menu;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR item) {
    bool ownerDrawn = (flags & MF_OWNERDRAW) != 0;
    Record("AppendMenuW",
           {reinterpret_cast<intptr_t>(menu), static_cast<intptr_t>(flags), static_cast<intptr_t>(id),
            ownerDrawn ? reinterpret_cast<intptr_t>(item) : 0},
           ownerDrawn || (flags & MF_SEPARATOR) ? u"" : FromWide(item));
    MenuObject* m = FindMenu(menu);
    if (!m) {
        Fail(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    // Submenus and bitmap items are not part of the device's model.
    if (flags & (MF_POPUP | MF_BITMAP)) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItem it;
    it.flags = flags & (MF_OWNERDRAW | MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED);
    if (flags & MF_SEPARATOR) {
        it.flags = MF_SEPARATOR;
    } else {
        it.id = static_cast<UINT>(id);
        if (ownerDrawn)
            it.data = reinterpret_cast<ULONG_PTR>(item);
        else
            it.text = FromWide(item);
    }
    m->items.push_back(it);
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
    Record("DestroyMenu", {reinterpret_cast<intptr_t>(menu)});
    if (!Menus().menus.erase(reinterpret_cast<uintptr_t>(menu))) {
        Fail(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    MenuObject* m = FindMenu(menu);
    if (!m) {
        Fail(ERROR_INVALID_MENU_HANDLE);
        return -1;
    }
    return static_cast<int>(m->items.size());
}
