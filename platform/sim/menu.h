// The device's popup menus: the menus programs create, the one that is tracked, and what
// a test sees of it and does to it.
#pragma once

#include <optional>

#include "state.h"

namespace sim {

struct MenuItem {
    UINT flags = 0;               // MF_STRING, MF_OWNERDRAW or MF_SEPARATOR, with MF_GRAYED
    UINT id = 0;
    std::u16string text;          // string items
    ULONG_PTR data = 0;           // owner-drawn items: the item data given to AppendMenuW
};

struct MenuObject {
    HMENU handle = nullptr;
    int program = 0;
    std::vector<MenuItem> items;
};

// The menu being tracked by TrackPopupMenuEx, on its caller's thread.
struct MenuTracking {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    HWND window = nullptr;        // the menu window, class "MNU"
    Program* program = nullptr;
    UINT flags = 0;
    POINT anchor{};
    std::vector<MenuItem> items;  // as they were when the menu opened
    std::vector<RECT> rects;      // item rectangles in the menu window's client coordinates
    int highlighted = -1;
    bool ended = false;
    UINT chosen = 0;              // the command chosen, 0 when dismissed
    HGDIOBJ font = nullptr;       // the device's popup-menu font, as the registry records it
};

struct MenuState {
    std::map<uintptr_t, MenuObject> menus;
    MenuTracking* tracking = nullptr;
    // What Windows CE leaves to the device: the menu window's class, and how far its items
    // sit inside its client area on every side.
    std::u16string windowClass = u"MNU";
    int itemInset = 0;
};

MenuState& Menus();
MenuObject* FindMenu(HMENU menu);

struct OpenMenuItem {
    int position = 0;
    UINT flags = 0;
    UINT id = 0;
    std::u16string text;
    ULONG_PTR data = 0;
    RECT rect{};                  // in the menu window's client coordinates
    RECT screen{};                // on the screen
    bool highlighted = false;
};

struct OpenMenuInfo {
    HMENU menu = nullptr;
    HWND window = nullptr;
    HWND owner = nullptr;
    int program = 0;
    UINT flags = 0;
    POINT anchor{};
    RECT rect{};                  // the menu window on the screen
    int highlighted = -1;
    std::vector<OpenMenuItem> items;
};

}  // namespace sim
