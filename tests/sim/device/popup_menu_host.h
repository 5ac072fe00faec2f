// A small program for the device that pops up menus on request and writes down every
// menu message its window receives, to test the device's popup menus on their own.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/menu.h"
#include "platform/sim/sim_api.h"

namespace popup_menu_test {

struct Item {
    UINT flags = MF_OWNERDRAW;
    UINT id = 0;
    std::u16string text;         // string items
    ULONG_PTR data = 0;          // owner-drawn items
};

// One message as the host window saw it; owner-draw messages keep their structure.
struct Seen {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DRAWITEMSTRUCT draw{};
    MEASUREITEMSTRUCT measure{};
    HGDIOBJ drawFont = nullptr;  // the font selected into the drawing context
    HWND foreground = nullptr;   // the foreground window when the message came
};

// What the host does; the test sets it before it asks for a menu.
struct HostScript {
    std::vector<Item> items;
    UINT flags = TPM_RETURNCMD;
    POINT anchor{100, 100};
    UINT measureWidth = 80;
    UINT measureHeight = 18;
    std::function<LRESULT(WPARAM, LPARAM)> menuChar;   // WM_MENUCHAR; unset: MNC_IGNORE
    std::function<void(UINT message)> during;          // called on every message while tracking
};

struct HostState {
    HWND window = nullptr;
    HMENU menu = nullptr;
    std::vector<Seen> seen;
    bool tracking = false;
    BOOL result = -1;            // TrackPopupMenuEx's result, -1 until it returned
    DWORD error = 0;             // GetLastError after it
    int timerTicks = 0;
    int quitCode = -1;           // the host's message loop ended with this
};

extern HostScript gScript;
extern HostState gHost;

constexpr UINT kOpenMenu = WM_USER + 1;
inline const std::u16string kHostPath = u"\\Windows\\MenuHost.exe";

class PopupMenuTest : public ::testing::Test {
protected:
    sim::Device device;
    int host = 0;

    void SetUp() override;
    // Asks the host to build the scripted menu and track it; returns with the menu open
    // (or already closed, when the loop ended at once).
    void OpenScriptedMenu();
    std::vector<Seen> SeenOf(UINT message) const;
    std::vector<Seen> SeenSince(size_t from, UINT message) const;
    sim::OpenMenuInfo Open() const;
};

}  // namespace popup_menu_test
