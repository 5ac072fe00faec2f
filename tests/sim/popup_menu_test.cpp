// The device's popup menus as any program meets them: TrackPopupMenuEx, its messages,
// its window, keys, taps and the owner's WM_MENUCHAR replies.
#include "platform/sim/gdi.h"
#include "platform/sim/input.h"
#include "platform/sim/registry.h"
#include "popup_menu_host.h"

using namespace popup_menu_test;

namespace {

// Three owner-drawn entries, a separator, a greyed owner-drawn entry and a last one.
std::vector<Item> OwnerDrawnItems() {
    return {{MF_OWNERDRAW, 201, u"", 0x1001}, {MF_OWNERDRAW, 202, u"", 0x1002}, {MF_OWNERDRAW, 203, u"", 0x1003},
            {MF_SEPARATOR, 0, u"", 0},         {MF_OWNERDRAW | MF_GRAYED, 204, u"", 0x1004},
            {MF_OWNERDRAW, 205, u"", 0x1005}};
}

std::vector<Item> StringItems() {
    return {{MF_STRING, 123, u"Setting (&S)", 0}, {MF_GRAYED, 124, u"Help (&H)", 0}, {MF_STRING, 120, u"About (&A)", 0},
            {MF_SEPARATOR, 0, u"", 0},          {MF_STRING, 121, u"Exit (&X)", 0},  {MF_STRING, 125, u"Undo (&U)", 0},
            {MF_STRING, 126, u"Up (&U)", 0}};
}

// A program that creates menus and leaves one of them behind.
struct Probe {
    static int Main(HINSTANCE, HINSTANCE, LPSTR, int) {
        HMENU kept = CreatePopupMenu();
        AppendMenuW(kept, MF_STRING, 1, u"One");
        AppendMenuW(kept, MF_SEPARATOR, 0, nullptr);
        HMENU gone = CreatePopupMenu();
        results[0] = GetMenuItemCount(kept);
        results[1] = DestroyMenu(gone);
        results[2] = DestroyMenu(gone);
        results[3] = static_cast<int>(GetLastError());
        results[4] = GetMenuItemCount(gone);
        results[5] = AppendMenuW(gone, MF_STRING, 2, u"Two");
        return 0;
    }
    static inline int results[6] = {};
};

}  // namespace

// ---- opening and closing ----

TEST_F(PopupMenuTest, OpeningNotifiesMeasuresShowsTheWindowAndPaintsEveryItem) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    ASSERT_TRUE(gHost.tracking);

    std::vector<UINT> order;
    for (const Seen& s : gHost.seen)
        if (order.empty() || order.back() != s.message) order.push_back(s.message);
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(order[0], static_cast<UINT>(WM_ENTERMENULOOP));
    EXPECT_EQ(order[1], static_cast<UINT>(WM_INITMENU));
    EXPECT_EQ(order[2], static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(order[3], static_cast<UINT>(WM_MEASUREITEM));
    EXPECT_EQ(order[4], static_cast<UINT>(WM_DRAWITEM));
    EXPECT_EQ(SeenOf(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(SeenOf(WM_INITMENU)[0].wParam, reinterpret_cast<WPARAM>(gHost.menu));

    auto measured = SeenOf(WM_MEASUREITEM);
    ASSERT_EQ(measured.size(), 5u) << "every owner-drawn item, the separator not";
    for (const Seen& m : measured) {
        EXPECT_EQ(m.measure.CtlType, static_cast<UINT>(ODT_MENU));
        EXPECT_EQ(m.measure.itemWidth, 0u);
        EXPECT_EQ(m.measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)));
    }
    EXPECT_EQ(measured[4].measure.itemID, 205u);
    EXPECT_EQ(measured[4].measure.itemData, 0x1005u);

    auto open = Open();
    auto w = device.Window(open.window);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->className, u"MNU");
    EXPECT_TRUE(w->visible);
    EXPECT_TRUE(w->topmost);
    EXPECT_EQ(device.ZOrder().front(), open.window);
    EXPECT_EQ(device.Foreground(), gHost.window) << "the menu window is never activated";
    EXPECT_EQ(sim::Input().capture, open.window);
    EXPECT_EQ(device.FindWindow(u"MNU"), open.window);

    // Items span the menu's width: the measured width plus the device's margin.
    ASSERT_EQ(open.items.size(), 6u);
    LONG width = open.items[0].rect.right - open.items[0].rect.left;
    EXPECT_GT(width, 80);
    LONG y = 0;
    for (const auto& item : open.items) {
        EXPECT_EQ(item.rect.left, 0);
        EXPECT_EQ(item.rect.right, width);
        EXPECT_EQ(item.rect.top, y);
        y = item.rect.bottom;
    }
    EXPECT_EQ(open.items[0].rect.bottom, 18);
    RECT client;
    GetClientRect(open.window, &client);
    EXPECT_EQ(client.right, width);
    EXPECT_EQ(client.bottom, y);

    auto drawn = SeenOf(WM_DRAWITEM);
    ASSERT_EQ(drawn.size(), 5u);
    for (const Seen& d : drawn) {
        EXPECT_EQ(d.draw.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d.draw.itemState & ODS_SELECTED, 0u);
        EXPECT_EQ(d.draw.hwndItem, reinterpret_cast<HWND>(gHost.menu));
        EXPECT_EQ(d.drawFont, sim::DevicePopupMenuFont()) << "the context carries the menu font";
    }
    EXPECT_EQ(drawn[3].draw.itemID, 204u);
    EXPECT_EQ(drawn[3].draw.itemState, static_cast<UINT>(ODS_GRAYED));
    EXPECT_EQ(drawn[3].draw.rcItem.top, open.items[4].rect.top);
    EXPECT_EQ(drawn[3].draw.itemData, 0x1004u);
}

TEST_F(PopupMenuTest, EscapeClosesWithNothingChosenAndTidiesUp) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    HWND window = Open().window;
    size_t before = gHost.seen.size();

    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_FALSE(sim::OpenMenu());
    EXPECT_FALSE(device.Window(window)) << "the menu window is destroyed";
    EXPECT_EQ(sim::Input().capture, nullptr);
    EXPECT_EQ(device.Foreground(), gHost.window);

    std::vector<UINT> tail;
    for (size_t i = before; i < gHost.seen.size(); ++i) tail.push_back(gHost.seen[i].message);
    ASSERT_EQ(tail.size(), 3u);
    EXPECT_EQ(tail[0], static_cast<UINT>(WM_UNINITMENUPOPUP));
    EXPECT_EQ(tail[1], static_cast<UINT>(WM_MENUSELECT));
    EXPECT_EQ(tail[2], static_cast<UINT>(WM_EXITMENULOOP));
    EXPECT_EQ(gHost.seen[before + 1].wParam, static_cast<WPARAM>(0xFFFF0000u));
    EXPECT_EQ(gHost.seen[before + 1].lParam, 0);
    EXPECT_TRUE(SeenOf(WM_COMMAND).empty());
    EXPECT_EQ(sim::LiveMenus(host), 0u);
}

TEST_F(PopupMenuTest, MenusAreAccountedUntilDestroyed) {
    device.PlaceFile(u"\\Windows\\Probe.exe", {'M', 'Z'});
    int probe = device.StartProgram(u"\\Windows\\Probe.exe", &Probe::Main);
    EXPECT_EQ(Probe::results[0], 2);
    EXPECT_EQ(Probe::results[1], TRUE);
    EXPECT_EQ(Probe::results[2], FALSE);
    EXPECT_EQ(Probe::results[3], static_cast<int>(ERROR_INVALID_MENU_HANDLE));
    EXPECT_EQ(Probe::results[4], -1);
    EXPECT_EQ(Probe::results[5], FALSE);
    EXPECT_EQ(sim::LiveMenus(probe), 1u) << "the menu never destroyed shows";
}

// ---- the highlight ----

TEST_F(PopupMenuTest, ArrowKeysMoveTheHighlightSkippingSeparatorsAndRedrawOnlyWhatChanged) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();

    size_t mark = gHost.seen.size();
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 0);
    auto draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 1u) << "nothing was highlighted before";
    EXPECT_EQ(draws[0].draw.itemID, 201u);
    EXPECT_EQ(draws[0].draw.itemAction, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(draws[0].draw.itemState, static_cast<UINT>(ODS_SELECTED));
    auto selects = SeenSince(mark, WM_MENUSELECT);
    ASSERT_EQ(selects.size(), 1u);
    EXPECT_EQ(LOWORD(selects[0].wParam), 201);
    EXPECT_TRUE(HIWORD(selects[0].wParam) & MF_HILITE);
    EXPECT_EQ(selects[0].lParam, reinterpret_cast<LPARAM>(gHost.menu));

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);
    mark = gHost.seen.size();
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 4) << "the separator at 3 is skipped; the greyed item can be highlighted";
    draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].draw.itemID, 203u);
    EXPECT_EQ(draws[0].draw.itemAction, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(draws[0].draw.itemState & ODS_SELECTED, 0u) << "old item first, unselected";
    EXPECT_EQ(draws[1].draw.itemID, 204u);
    EXPECT_EQ(draws[1].draw.itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));
    // The notification follows the drawing.
    size_t lastDraw = 0, select = 0;
    for (size_t i = mark; i < gHost.seen.size(); ++i) {
        if (gHost.seen[i].message == WM_DRAWITEM) lastDraw = i;
        if (gHost.seen[i].message == WM_MENUSELECT) select = i;
    }
    EXPECT_GT(select, lastDraw);

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 0) << "wraps from the last item to the first";
    device.PressKey(VK_UP);
    EXPECT_EQ(Open().highlighted, 5) << "and back";
    EXPECT_TRUE(gHost.tracking);
}

TEST_F(PopupMenuTest, SelectingTheHighlightedItemAgainDrawsNothing) {
    gScript.items = OwnerDrawnItems();
    gScript.menuChar = [](WPARAM, LPARAM) { return MAKELRESULT(1, MNC_SELECT); };
    OpenScriptedMenu();
    device.TypeText(u"x");
    EXPECT_EQ(Open().highlighted, 1);
    size_t mark = gHost.seen.size();
    device.TypeText(u"x");
    EXPECT_TRUE(SeenSince(mark, WM_DRAWITEM).empty());
    EXPECT_TRUE(SeenSince(mark, WM_MENUSELECT).empty());
    EXPECT_EQ(SeenSince(mark, WM_MENUCHAR).size(), 1u);
}

TEST_F(PopupMenuTest, PaintingAfterAMoveMarksTheHighlightedItemSelected) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);
    size_t mark = gHost.seen.size();
    InvalidateRect(Open().window, nullptr, FALSE);
    device.RunUntilIdle();
    auto draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 5u);
    for (const Seen& d : draws) {
        EXPECT_EQ(d.draw.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ((d.draw.itemState & ODS_SELECTED) != 0, d.draw.itemID == 202u) << d.draw.itemID;
    }
}

// ---- choosing ----

TEST_F(PopupMenuTest, EnterChoosesTheHighlightedItemButNotAGreyedOne) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    for (int i = 0; i < 4; ++i) device.PressKey(VK_DOWN);
    ASSERT_EQ(Open().highlighted, 4);
    device.PressKey(VK_RETURN);
    EXPECT_TRUE(gHost.tracking) << "a greyed item is not chosen";
    device.PressKey(VK_DOWN);
    device.PressKey(VK_RETURN);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 205);
    device.RunUntilIdle();
    EXPECT_TRUE(SeenOf(WM_COMMAND).empty()) << "TPM_RETURNCMD posts nothing";
}

TEST_F(PopupMenuTest, EnterWithNothingHighlightedCloses) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    device.PressKey(VK_RETURN);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
}

TEST_F(PopupMenuTest, TapsChooseItemsKeepGreyedItemsAndSeparatorsOpenAndDismissOutside) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    sim::TapMenuItem(3);
    EXPECT_TRUE(gHost.tracking) << "separator";
    sim::TapMenuItem(4);
    EXPECT_TRUE(gHost.tracking) << "greyed";
    EXPECT_EQ(Open().highlighted, 4) << "highlighted by the tap all the same";
    sim::TapMenuItem(2);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 203);

    OpenScriptedMenu();
    ASSERT_TRUE(gHost.tracking);
    HWND window = Open().window;
    sim::TapOutsideMenu();
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_FALSE(device.Window(window));
    EXPECT_EQ(device.Foreground(), gHost.window);
    EXPECT_EQ(sim::LiveMenus(host), 0u);
}

TEST_F(PopupMenuTest, WithoutReturnCommandTheChoiceIsPostedToTheOwner) {
    gScript.items = OwnerDrawnItems();
    gScript.flags = 0;
    OpenScriptedMenu();
    sim::TapMenuItem(1);
    EXPECT_EQ(gHost.result, TRUE);
    auto commands = SeenOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 202u);
    EXPECT_EQ(commands[0].lParam, 0);

    OpenScriptedMenu();
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(gHost.result, TRUE) << "a dismissed menu is no failure";
    EXPECT_EQ(SeenOf(WM_COMMAND).size(), 1u);
}

// ---- characters ----

TEST_F(PopupMenuTest, TheOwnersMenuCharReplyDecides) {
    gScript.items = OwnerDrawnItems();
    WPARAM asked = 0;
    LPARAM askedMenu = 0;
    LRESULT reply = MAKELRESULT(0, MNC_IGNORE);
    gScript.menuChar = [&](WPARAM w, LPARAM l) {
        asked = w;
        askedMenu = l;
        return reply;
    };
    OpenScriptedMenu();

    device.TypeText(u"q");
    EXPECT_EQ(LOWORD(asked), u'q');
    EXPECT_EQ(HIWORD(asked), MF_POPUP);
    EXPECT_EQ(askedMenu, reinterpret_cast<LPARAM>(gHost.menu));
    EXPECT_EQ(device.Calls("MessageBeep", host).size(), 1u) << "MNC_IGNORE beeps";
    EXPECT_TRUE(gHost.tracking);
    EXPECT_EQ(Open().highlighted, -1);

    reply = MAKELRESULT(2, MNC_SELECT);
    size_t mark = gHost.seen.size();
    device.TypeText(u"Q");
    EXPECT_EQ(LOWORD(asked), u'Q');
    EXPECT_TRUE(gHost.tracking);
    EXPECT_EQ(Open().highlighted, 2);
    auto draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].draw.itemAction, static_cast<UINT>(ODA_SELECT));

    reply = MAKELRESULT(3, MNC_SELECT);
    device.TypeText(u"q");
    EXPECT_EQ(Open().highlighted, 2) << "a separator cannot be highlighted";
    EXPECT_EQ(device.Calls("MessageBeep", host).size(), 2u);

    reply = MAKELRESULT(4, MNC_EXECUTE);
    device.TypeText(u"q");
    EXPECT_TRUE(gHost.tracking) << "a greyed item is not chosen";
    EXPECT_EQ(Open().highlighted, 4);

    reply = MAKELRESULT(5, MNC_EXECUTE);
    device.TypeText(u"q");
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 205);

    OpenScriptedMenu();
    reply = MAKELRESULT(0, MNC_CLOSE);
    device.TypeText(u"q");
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
}

TEST_F(PopupMenuTest, ControlCharactersNeverReachTheOwner) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    device.HoldKey(VK_CONTROL);
    device.PressKey('Q');
    device.ReleaseKey(VK_CONTROL);
    device.PressKey(VK_TAB);
    EXPECT_TRUE(SeenOf(WM_MENUCHAR).empty());
    EXPECT_TRUE(gHost.tracking);
    device.TypeText(u"7");
    EXPECT_EQ(SeenOf(WM_MENUCHAR).size(), 1u);
}

TEST_F(PopupMenuTest, StringItemsAnswerTheirOwnLettersBeforeTheOwnerIsAsked) {
    gScript.items = StringItems();
    gScript.flags = TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD;
    gScript.anchor = POINT{800, 454};
    OpenScriptedMenu();
    EXPECT_TRUE(SeenOf(WM_MEASUREITEM).empty());
    EXPECT_TRUE(SeenOf(WM_DRAWITEM).empty());

    device.TypeText(u"u");
    EXPECT_EQ(Open().highlighted, 5) << "two items share U: the first is highlighted, nothing chosen";
    device.TypeText(u"U");
    EXPECT_EQ(Open().highlighted, 6);
    device.TypeText(u"u");
    EXPECT_EQ(Open().highlighted, 5) << "and round again";
    device.TypeText(u"h");
    EXPECT_TRUE(gHost.tracking) << "a greyed item's letter does not choose it";
    EXPECT_EQ(Open().highlighted, 1);
    EXPECT_TRUE(SeenOf(WM_MENUCHAR).empty());
    device.TypeText(u"z");
    EXPECT_EQ(SeenOf(WM_MENUCHAR).size(), 1u) << "no item has Z";
    device.TypeText(u"a");
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 120);
}

// ---- placement ----

TEST_F(PopupMenuTest, TheAlignmentFlagsPlaceTheMenuAndTheScreenEdgesKeepIt) {
    gScript.items = StringItems();
    gScript.flags = TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD;
    gScript.anchor = POINT{800, 454};
    OpenScriptedMenu();
    RECT r = Open().rect;
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 454);
    device.PressKey(VK_ESCAPE);

    gScript.flags = TPM_RETURNCMD;
    gScript.anchor = POINT{100, 60};
    OpenScriptedMenu();
    auto open = Open();
    EXPECT_EQ(open.rect.left, 100);
    EXPECT_EQ(open.rect.top, 60);
    LONG width = open.rect.right - open.rect.left, height = open.rect.bottom - open.rect.top;
    EXPECT_EQ(open.items.back().screen.bottom, open.rect.bottom - 1) << "one pixel of border";
    device.PressKey(VK_ESCAPE);

    // Too close to the right and bottom edges: it opens to the other side of the anchor.
    gScript.anchor = POINT{790, 470};
    OpenScriptedMenu();
    r = Open().rect;
    EXPECT_EQ(r.right, 790);
    EXPECT_EQ(r.bottom, 470);
    device.PressKey(VK_ESCAPE);

    // Centred on an anchor near the edges: pushed inside the screen.
    gScript.anchor = POINT{795, 478};
    gScript.flags = TPM_CENTERALIGN | TPM_VCENTERALIGN | TPM_RETURNCMD;
    OpenScriptedMenu();
    r = Open().rect;
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 480);
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    device.PressKey(VK_ESCAPE);

    gScript.anchor = POINT{-40, -40};
    gScript.flags = TPM_RETURNCMD;
    OpenScriptedMenu();
    r = Open().rect;
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
}

TEST_F(PopupMenuTest, StringItemsAreMeasuredInTheDevicesMenuFont) {
    gScript.items = {{MF_STRING, 1, u"&Wide WWWW", 0}};
    OpenScriptedMenu();
    LONG systemWidth = Open().items[0].rect.right;
    device.PressKey(VK_ESCAPE);

    const std::u16string key = u"System\\GWE\\Menu\\PopFnt";
    sim::SetRegistryDword(key, u"Ht", static_cast<DWORD>(-30));
    sim::SetRegistryDword(key, u"Wt", 400);
    sim::SetRegistryDword(key, u"It", 0);
    sim::SetRegistryDword(key, u"CS", 128);
    sim::SetRegistryString(key, u"Nm", u"Big");
    OpenScriptedMenu();
    auto open = Open();
    EXPECT_GT(open.items[0].rect.right, systemWidth);
    EXPECT_GT(open.items[0].rect.bottom, 30);
}

// ---- the loop ----

TEST_F(PopupMenuTest, TimersAndPostedMessagesKeepRunningInsideTheLoop) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    ASSERT_TRUE(gHost.tracking);
    auto idle = SeenOf(WM_ENTERIDLE);
    ASSERT_EQ(idle.size(), 1u) << "once when the queue went idle";
    EXPECT_EQ(idle[0].wParam, static_cast<WPARAM>(MSGF_MENU));
    EXPECT_EQ(idle[0].lParam, reinterpret_cast<LPARAM>(Open().window));

    gScript.during = [](UINT message) {
        if (message == WM_ENTERIDLE && gHost.timerTicks == 0) SetTimer(gHost.window, 7, 100, nullptr);
    };
    device.PressKey(VK_DOWN);  // a key, then idle again: the host starts its timer then
    device.Advance(350);
    EXPECT_EQ(gHost.timerTicks, 3);
    EXPECT_TRUE(gHost.tracking);
    device.Post(gHost.window, WM_COMMAND, 999);
    ASSERT_FALSE(SeenOf(WM_COMMAND).empty());
    EXPECT_EQ(SeenOf(WM_COMMAND).back().wParam, 999u) << "posted messages are dispatched";
    EXPECT_TRUE(gHost.tracking);
}

TEST_F(PopupMenuTest, ASecondMenuWhileOneIsTrackedFails) {
    gScript.items = OwnerDrawnItems();
    BOOL nested = -1;
    DWORD nestedError = 0;
    gScript.during = [&](UINT message) {
        if (message != WM_ENTERIDLE || nested != -1) return;
        HMENU other = CreatePopupMenu();
        AppendMenuW(other, MF_STRING, 1, u"Other");
        SetLastError(0);
        nested = TrackPopupMenuEx(other, TPM_RETURNCMD, 0, 0, gHost.window, nullptr);
        nestedError = GetLastError();
        DestroyMenu(other);
    };
    OpenScriptedMenu();
    EXPECT_EQ(nested, FALSE);
    EXPECT_EQ(nestedError, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
    EXPECT_TRUE(gHost.tracking) << "the first menu stays open";
    sim::TapMenuItem(0);
    EXPECT_EQ(gHost.result, 201);
    EXPECT_EQ(sim::LiveMenus(host), 0u);
}

TEST_F(PopupMenuTest, QuitInsideTheLoopClosesTheMenuAndStillEndsTheProgram) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    gScript.during = [](UINT message) {
        if (message == WM_USER + 9) PostQuitMessage(5);
    };
    device.Post(gHost.window, WM_USER + 9);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_EQ(gHost.quitCode, 5);
    EXPECT_FALSE(device.IsRunning(host));
}

TEST_F(PopupMenuTest, TheOwnerGoingAwayEndsTheMenu) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    gScript.during = [](UINT message) {
        if (message == WM_USER + 9) DestroyWindow(gHost.window);
    };
    device.Post(gHost.window, WM_USER + 9);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_FALSE(sim::OpenMenu());
    EXPECT_EQ(device.FindWindow(u"MNU"), nullptr);
}
