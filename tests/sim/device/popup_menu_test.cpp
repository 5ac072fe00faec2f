// The device's popup menus as any program meets them: TrackPopupMenuEx, its messages,
// its window, keys, taps and the owner's WM_MENUCHAR replies.
#include "platform/sim/gdi.h"
#include "platform/sim/input.h"
#include "platform/sim/registry.h"
#include "popup_font.h"
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

std::vector<UINT> MessagesSince(size_t from) {
    std::vector<UINT> out;
    for (size_t i = from; i < gHost.seen.size(); ++i) out.push_back(gHost.seen[i].message);
    return out;
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

TEST_F(PopupMenuTest, OpeningNotifiesMeasuresShowsAndPaintsAndEscapeTidiesUp) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    ASSERT_TRUE(gHost.tracking);
    std::vector<UINT> order;
    for (UINT m : MessagesSince(0))
        if (order.empty() || order.back() != m) order.push_back(m);
    EXPECT_EQ(order, (std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MEASUREITEM, WM_DRAWITEM,
                                        WM_ENTERIDLE}));
    EXPECT_EQ(SeenOf(WM_ENTERMENULOOP)[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(SeenOf(WM_INITMENU)[0].wParam, reinterpret_cast<WPARAM>(gHost.menu));

    auto measured = SeenOf(WM_MEASUREITEM);
    ASSERT_EQ(measured.size(), 5u) << "every owner-drawn item, the separator not";
    for (const Seen& m : measured) {
        EXPECT_EQ(m.measure.itemWidth, 0u);
        EXPECT_EQ(m.measure.itemHeight, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)));
    }
    EXPECT_EQ(measured[4].measure.itemData, 0x1005u);

    // A topmost window of class MNU that is never activated and takes every tap; items
    // span its client area, the measured width plus the device's margin.
    auto open = Open();
    auto w = device.Window(open.window);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->className, u"MNU");
    EXPECT_TRUE(w->visible && w->topmost);
    EXPECT_EQ(device.Foreground(), gHost.window);
    EXPECT_EQ(device.CapturingWindow(), open.window);
    RECT client;
    GetClientRect(open.window, &client);
    LONG y = 0;
    for (const auto& item : open.items) {
        EXPECT_EQ(item.rect.left, 0);
        EXPECT_EQ(item.rect.right, client.right);
        EXPECT_EQ(item.rect.top, y);
        y = item.rect.bottom;
    }
    EXPECT_EQ(client.right, 80) << "as wide as its owner measured it";
    EXPECT_EQ(client.bottom, y);
    EXPECT_EQ(open.items[0].rect.bottom, 18);

    auto drawn = SeenOf(WM_DRAWITEM);
    ASSERT_EQ(drawn.size(), 5u);
    for (const Seen& d : drawn) {
        EXPECT_EQ(d.draw.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d.draw.hwndItem, reinterpret_cast<HWND>(gHost.menu));
        EXPECT_EQ(d.drawFont, device.PopupMenuFont()) << "the context carries the menu font";
    }
    EXPECT_EQ(drawn[3].draw.itemState, static_cast<UINT>(ODS_GRAYED));
    EXPECT_EQ(drawn[3].draw.rcItem.top, open.items[4].rect.top);

    size_t mark = gHost.seen.size();
    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_FALSE(device.Window(open.window));
    EXPECT_EQ(device.CapturingWindow(), nullptr);
    EXPECT_EQ(MessagesSince(mark), (std::vector<UINT>{WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP}));
    EXPECT_EQ(gHost.seen[mark + 1].wParam, static_cast<WPARAM>(0xFFFF0000u));
    EXPECT_EQ(device.LiveMenus(host), 0u);
}

TEST_F(PopupMenuTest, TheHighlightMovesSkippingSeparatorsAndRedrawsOnlyWhatChanged) {
    gScript.items = OwnerDrawnItems();
    gScript.menuChar = [](WPARAM, LPARAM) { return MAKELRESULT(2, MNC_SELECT); };
    OpenScriptedMenu();

    size_t mark = gHost.seen.size();
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 0);
    auto since = MessagesSince(mark);
    ASSERT_GE(since.size(), 2u);
    EXPECT_EQ(since[0], static_cast<UINT>(WM_DRAWITEM)) << "nothing was highlighted before";
    EXPECT_EQ(since[1], static_cast<UINT>(WM_MENUSELECT));
    Seen select = SeenSince(mark, WM_MENUSELECT)[0];
    EXPECT_EQ(select.wParam, MAKEWPARAM(201, MF_OWNERDRAW | MF_HILITE));

    device.TypeText(u"x");  // the owner selects position 2
    mark = gHost.seen.size();
    device.TypeText(u"x");
    EXPECT_EQ(SeenSince(mark, WM_DRAWITEM).size(), 0u) << "the same item again draws nothing";

    mark = gHost.seen.size();
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 4) << "the separator is skipped, the greyed item can be highlighted";
    auto draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[0].draw.itemID, 203u);
    EXPECT_EQ(draws[0].draw.itemAction, static_cast<UINT>(ODA_SELECT));
    EXPECT_EQ(draws[0].draw.itemState & ODS_SELECTED, 0u) << "the old item first, unselected";
    EXPECT_EQ(draws[1].draw.itemID, 204u);
    EXPECT_EQ(draws[1].draw.itemState & ODS_SELECTED, static_cast<UINT>(ODS_SELECTED));

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);
    EXPECT_EQ(Open().highlighted, 0) << "wraps to the first";
    device.PressKey(VK_UP);
    EXPECT_EQ(Open().highlighted, 5) << "and back";

    mark = gHost.seen.size();
    InvalidateRect(Open().window, nullptr, FALSE);
    device.RunUntilIdle();
    draws = SeenSince(mark, WM_DRAWITEM);
    ASSERT_EQ(draws.size(), 5u);
    for (const Seen& d : draws)
        EXPECT_EQ((d.draw.itemState & ODS_SELECTED) != 0, d.draw.itemID == 205u) << "a repaint marks the highlight";
}

TEST_F(PopupMenuTest, EnterAndTapsChooseButNotGreyedItemsOrSeparatorsAndOutsideDismisses) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    device.PressKey(VK_RETURN);
    EXPECT_EQ(gHost.result, 0) << "Enter with nothing highlighted closes";

    OpenScriptedMenu();
    for (int i = 0; i < 4; ++i) device.PressKey(VK_DOWN);
    device.PressKey(VK_RETURN);
    device.TapMenuItem(3);
    device.TapMenuItem(4);
    EXPECT_TRUE(gHost.tracking) << "neither a greyed item nor a separator is chosen";
    device.PressKey(VK_DOWN);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(gHost.result, 205);

    OpenScriptedMenu();
    device.TapMenuItem(2);
    EXPECT_EQ(gHost.result, 203);
    EXPECT_TRUE(SeenOf(WM_COMMAND).empty()) << "TPM_RETURNCMD posts nothing";

    OpenScriptedMenu();
    device.TapOutsideMenu();
    EXPECT_EQ(gHost.result, 0);
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(device.Foreground(), gHost.window);

    gScript.flags = 0;
    OpenScriptedMenu();
    device.TapMenuItem(1);
    EXPECT_EQ(gHost.result, TRUE);
    auto commands = SeenOf(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, 202u);
    OpenScriptedMenu();
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(gHost.result, TRUE) << "a dismissed menu is no failure";
    EXPECT_EQ(SeenOf(WM_COMMAND).size(), 1u);
    EXPECT_EQ(device.LiveMenus(host), 0u);
}

TEST_F(PopupMenuTest, CharactersGoToStringLettersFirstThenToTheOwner) {
    gScript.items = StringItems();
    gScript.flags = TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD;
    OpenScriptedMenu();
    EXPECT_TRUE(SeenOf(WM_MEASUREITEM).empty());
    device.TypeText(u"u");
    device.TypeText(u"U");
    EXPECT_EQ(Open().highlighted, 6) << "a shared letter highlights its items in turn";
    device.TypeText(u"u");
    EXPECT_EQ(Open().highlighted, 5);
    device.TypeText(u"h");
    EXPECT_EQ(Open().highlighted, 1) << "a greyed item's letter only highlights it";
    EXPECT_TRUE(SeenOf(WM_MENUCHAR).empty());
    device.HoldKey(VK_CONTROL);
    device.PressKey('Q');
    device.ReleaseKey(VK_CONTROL);
    device.PressKey(VK_TAB);
    EXPECT_TRUE(SeenOf(WM_MENUCHAR).empty()) << "control characters are dropped";
    device.TypeText(u"a");
    EXPECT_EQ(gHost.result, 120);

    // Owner-drawn items have no letters: the owner's reply decides.
    gScript.items = OwnerDrawnItems();
    gScript.flags = TPM_RETURNCMD;
    WPARAM asked = 0;
    LRESULT reply = 0;
    gScript.menuChar = [&](WPARAM w, LPARAM l) {
        asked = w;
        EXPECT_EQ(l, reinterpret_cast<LPARAM>(gHost.menu));
        return reply;
    };
    OpenScriptedMenu();
    struct Step {
        const char16_t* typed;
        LRESULT reply;
        int highlighted;    // afterwards; -2: the menu closed
        size_t beeps;
    } steps[] = {
        {u"q", MAKELRESULT(0, MNC_IGNORE), -1, 1},
        {u"Q", MAKELRESULT(2, MNC_SELECT), 2, 1},
        {u"q", MAKELRESULT(3, MNC_SELECT), 2, 2},    // a separator: refused
        {u"q", MAKELRESULT(4, MNC_EXECUTE), 4, 2},   // greyed: highlighted, not chosen
        {u"q", MAKELRESULT(5, MNC_EXECUTE), -2, 2},
    };
    for (const Step& s : steps) {
        reply = s.reply;
        device.TypeText(s.typed);
        EXPECT_EQ(asked, MAKEWPARAM(s.typed[0], MF_POPUP));
        EXPECT_EQ(device.OpenMenu() ? Open().highlighted : -2, s.highlighted) << HIWORD(s.reply);
        EXPECT_EQ(device.Calls("MessageBeep", host).size(), s.beeps);
    }
    EXPECT_EQ(gHost.result, 205);
    OpenScriptedMenu();
    reply = MAKELRESULT(0, MNC_CLOSE);
    device.TypeText(u"q");
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
}

TEST_F(PopupMenuTest, AlignmentPlacesTheMenuTheScreenKeepsItAndTheMenuFontSizesIt) {
    gScript.items = StringItems();
    struct Case {
        UINT flags;
        POINT anchor;
        LONG left, top, right, bottom;  // left and top, or (when they are -1) right and bottom
    } cases[] = {
        {TPM_RIGHTALIGN | TPM_BOTTOMALIGN, {800, 454}, -1, -1, 800, 454},
        {0, {100, 60}, 100, 60, -1, -1},
        {0, {790, 470}, -1, -1, 790, 470},                             // opens to the other side
        {TPM_CENTERALIGN | TPM_VCENTERALIGN, {795, 478}, -1, -1, 800, 480},  // pushed inside
        {0, {-40, -40}, 0, 0, -1, -1},
    };
    for (const Case& c : cases) {
        gScript.flags = c.flags | TPM_RETURNCMD;
        gScript.anchor = c.anchor;
        OpenScriptedMenu();
        RECT r = Open().rect;
        LONG width = r.right - r.left, height = r.bottom - r.top;
        EXPECT_EQ(r.left, c.left >= 0 ? c.left : c.right - width) << c.anchor.x;
        EXPECT_EQ(r.top, c.top >= 0 ? c.top : c.bottom - height) << c.anchor.x;
        device.PressKey(VK_ESCAPE);
    }

    gScript.items = {{MF_STRING, 1, u"&Wide WWWW", 0}};
    gScript.anchor = POINT{0, 0};
    OpenScriptedMenu();
    RECT small = Open().items[0].rect;
    device.PressKey(VK_ESCAPE);
    zarvic_test::SetPopupFont(u"Big", -30);
    OpenScriptedMenu();
    EXPECT_GT(Open().items[0].rect.right, small.right);
    EXPECT_GT(Open().items[0].rect.bottom, 30);
}

TEST_F(PopupMenuTest, TheLoopKeepsTimersAndPostedMessagesGoingAndRefusesASecondMenu) {
    gScript.items = OwnerDrawnItems();
    BOOL nested = -1;
    DWORD nestedError = 0;
    gScript.during = [&](UINT message) {
        if (message != WM_ENTERIDLE || nested != -1) return;
        SetTimer(gHost.window, 7, 100, nullptr);
        HMENU other = CreatePopupMenu();
        nested = TrackPopupMenuEx(other, TPM_RETURNCMD, 0, 0, gHost.window, nullptr);
        nestedError = GetLastError();
        DestroyMenu(other);
    };
    OpenScriptedMenu();
    EXPECT_EQ(nested, FALSE);
    EXPECT_EQ(nestedError, static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE));
    auto idle = SeenOf(WM_ENTERIDLE);
    ASSERT_EQ(idle.size(), 1u) << "once when the queue went idle";
    EXPECT_EQ(idle[0].wParam, static_cast<WPARAM>(MSGF_MENU));
    EXPECT_EQ(idle[0].lParam, reinterpret_cast<LPARAM>(Open().window));

    device.Advance(350);
    EXPECT_EQ(gHost.timerTicks, 3);
    device.Post(gHost.window, WM_COMMAND, 999);
    ASSERT_FALSE(SeenOf(WM_COMMAND).empty());
    EXPECT_EQ(SeenOf(WM_COMMAND).back().wParam, 999u);
    EXPECT_TRUE(gHost.tracking) << "the first menu stays open";
    device.TapMenuItem(0);
    EXPECT_EQ(gHost.result, 201);
}

TEST_F(PopupMenuTest, AQuitInsideTheLoopEndsTheMenuAndStillReachesTheProgram) {
    gScript.items = OwnerDrawnItems();
    OpenScriptedMenu();
    gScript.during = [](UINT message) {
        if (message == WM_USER + 9) PostQuitMessage(5);
    };
    device.Post(gHost.window, WM_USER + 9);
    EXPECT_FALSE(gHost.tracking);
    EXPECT_EQ(gHost.result, 0);
    EXPECT_EQ(device.FindWindow(u"MNU"), nullptr);
    EXPECT_EQ(gHost.quitCode, 5);
    EXPECT_FALSE(device.IsRunning(host));
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
    EXPECT_EQ(device.LiveMenus(probe), 1u) << "the menu never destroyed shows";
}
