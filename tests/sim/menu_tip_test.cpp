// The preview tooltip: preparing the text, laying the window out beside the menu, and
// following the highlight while the menu is open.
#include "app/app.h"
#include "app/settings.h"
#include "history/history.h"
#include "menu/menu_tip.h"
#include "menu_item_fixture.h"
#include "platform/sim/dc.h"

using namespace zarvic_test;

namespace {

std::u16string Expand(const std::u16string& src, int units) {
    std::vector<WCHAR> out(static_cast<size_t>(units) + 4, u'Z');
    ExpandTabs(out.data(), units, src.c_str(), MENU_TIP_TAB_SIZE);
    for (size_t i = static_cast<size_t>(units); i < out.size(); ++i) EXPECT_EQ(out[i], u'Z') << "past the bound";
    return std::u16string(out.data());
}

// ---- preparing the text ----

TEST(MenuTipText, CountsCharactersAndTabsWithinTheBound) {
    EXPECT_EQ(CountChars(nullptr, 10), 0);
    EXPECT_EQ(CountChars(u"abc", 10), 3);
    EXPECT_EQ(CountChars(u"abc", 2), 2);
    EXPECT_EQ(CountTabs(nullptr, 10), 0);
    EXPECT_EQ(CountTabs(u"", 10), 0);
    EXPECT_EQ(CountTabs(u"a\tb\t", 10), 2);
    EXPECT_EQ(CountTabs(u"a\tb\t", 3), 1);
}

TEST(MenuTipText, TabsRunToTheNextColumnOfFourAndOnlyCrLfStartsAColumnAgain) {
    EXPECT_EQ(Expand(u"\tx", 64), u"    x");
    EXPECT_EQ(Expand(u"ab\tx", 64), u"ab  x");
    EXPECT_EQ(Expand(u"abcd\tx", 64), u"abcd    x");
    EXPECT_EQ(Expand(u"abc\r\n\tx", 64), u"abc\r\n    x");
    EXPECT_EQ(Expand(u"ab\n\tx", 64), u"ab\n x") << "a lone LF is a character of the line";
    EXPECT_EQ(Expand(u"ab\r\tx", 64), u"ab\r x") << "so is a lone CR";
}

TEST(MenuTipText, StopsAtTheBoundWhereverItFalls) {
    EXPECT_EQ(Expand(u"abcdef", 4), u"abc");
    EXPECT_EQ(Expand(u"a\tb", 4), u"a  ") << "in the middle of a tab's spaces";
    EXPECT_EQ(Expand(u"a\r\nb", 3), u"a\r") << "between CR and LF";
    EXPECT_EQ(Expand(u"", 1), u"");
    WCHAR untouched[2] = {u'q', 0};
    ExpandTabs(untouched, 0, u"abc", 4);
    ExpandTabs(untouched, 2, nullptr, 4);
    ExpandTabs(nullptr, 2, u"abc", 4);
    EXPECT_EQ(untouched[0], u'q');
}

// ---- laying the window out ----

class LayoutTest : public MenuLookTest {
protected:
    // Lays out text beside a menu whose client area spans menu (screen coordinates), for an
    // item at item (the menu's client coordinates).
    RECT Layout(const std::u16string& text, RECT menu, RECT item) {
        RECT out{-1, -1, -1, -1};
        EXPECT_EQ(LayoutMenuTip(MainWindow(), text.c_str(), &out, &menu, &item), 1);
        EXPECT_TRUE(sim::LiveGdiObjects(0).empty());
        EXPECT_EQ(sim::OpenDeviceContexts(0), 0u);
        return out;
    }
    static std::u16string Lines(int n) {
        std::u16string text;
        for (int i = 0; i < n; ++i) text += i ? u"\r\nline" : u"line";
        return text;
    }
};

TEST_F(LayoutTest, GoesRightOfTheMenuWhenItFits) {
    RECT o = Layout(std::u16string(25, u'a'), RECT{100, 100, 300, 300}, RECT{0, 0, 200, 24});
    EXPECT_EQ(o.left, 304);
    EXPECT_EQ(o.right, 304 + 250 + 6);
    EXPECT_EQ(o.top, 100);
    EXPECT_EQ(o.bottom, 100 + 24 + 1) << "as high as the item when the line is lower";
}

TEST_F(LayoutTest, GoesLeftWhenTheRightLacksRoomAndTheLeftHasMore) {
    RECT o = Layout(std::u16string(25, u'a'), RECT{500, 100, 700, 300}, RECT{0, 0, 200, 24});
    EXPECT_EQ(o.left, 240);
    EXPECT_EQ(o.right, 496);
    o = Layout(std::u16string(60, u'a'), RECT{500, 100, 700, 300}, RECT{0, 0, 200, 24});
    EXPECT_EQ(o.left, 3) << "it would start at -110";
    EXPECT_EQ(o.right, 496);
}

TEST_F(LayoutTest, StaysRightWhenTheLeftHasNoMoreRoom) {
    RECT o = Layout(std::u16string(60, u'a'), RECT{350, 100, 450, 300}, RECT{0, 0, 100, 24});
    EXPECT_EQ(o.left, 454);
    EXPECT_EQ(o.right, 454 + 606) << "running off the screen";
}

TEST_F(LayoutTest, MovesUpOnlyWhenItRunsOffTheBottomOfTheLowerHalf) {
    RECT item{0, 0, 200, kLineHeight};
    RECT o = Layout(Lines(10), RECT{100, 300, 300, 400}, item);
    EXPECT_EQ(o.top, 280);
    EXPECT_EQ(o.bottom, 481);
    o = Layout(Lines(20), RECT{100, 300, 300, 400}, item);
    EXPECT_EQ(o.top, 240) << "no higher than the middle of the screen";
    EXPECT_EQ(o.bottom, 641);
    o = Layout(Lines(25), RECT{100, 100, 300, 400}, item);
    EXPECT_EQ(o.top, 100);
    EXPECT_EQ(o.bottom, 601);
    o = Layout(Lines(2), RECT{100, 250, 300, 400}, RECT{0, 50, 200, 70});
    EXPECT_EQ(o.top, 300) << "level with the item";
}

TEST_F(LayoutTest, SplitsLinesAtCrLfOnly) {
    RECT menu{100, 100, 300, 300}, item{0, 0, 200, 24};
    RECT o = Layout(u"abc\r\n", menu, item);
    EXPECT_EQ(o.bottom - o.top, 24 + 1) << "no empty last line";
    EXPECT_EQ(o.right - o.left, 30 + 6);
    o = Layout(u"\r\n", menu, item);
    EXPECT_EQ(o.right - o.left, kNarrow + 6) << "an empty line measures as a space";
    EXPECT_EQ(o.bottom - o.top, 24 + 1);
    o = Layout(u"a\r\n\r\nbb", menu, item);
    EXPECT_EQ(o.bottom - o.top, 24 + kLineHeight + kLineHeight + 1);
    EXPECT_EQ(o.right - o.left, 2 * kNarrow + 6);
    o = Layout(u"ab\ncd\re", menu, item);
    EXPECT_EQ(o.bottom - o.top, 24 + 1) << "lone LF and CR stay in the line";
    EXPECT_EQ(o.right - o.left, 7 * kNarrow + 6);
    o = Layout(u"a", menu, RECT{0, 0, 200, 12});
    EXPECT_EQ(o.bottom - o.top, kLineHeight + 1) << "as high as the line when the item is lower";
}

TEST_F(LayoutTest, NeedsAWindowAndAText) {
    RECT menu{0, 0, 100, 100}, item{0, 0, 100, 20}, out{1, 2, 3, 4};
    EXPECT_EQ(LayoutMenuTip(nullptr, u"abc", &out, &menu, &item), 0);
    EXPECT_EQ(LayoutMenuTip(MainWindow(), nullptr, &out, &menu, &item), 0);
    EXPECT_EQ(out.left, 1);
    EXPECT_EQ(out.bottom, 4);
}

// ---- following the highlight ----

class MenuTipTest : public MenuLookTest {
protected:
    void SetUp() override {
        MenuLookTest::SetUp();
        RunInZarvic([] { CreateMenuTip(); });
        tip = device.FindWindow(u"Zarvic_MenuTip");
        MakeMenuWindow(RECT{300, 100, 560, 400});  // client area (301, 101) to (559, 399)
        dc = GetDC(menuWindow);
        MakeMnemonicTable(menuHandle, {'1', '2', '3', '4'});
    }
    void TearDown() override {
        ReleaseDC(menuWindow, dc);
        MenuLookTest::TearDown();
    }
    RECT Row(int k) const { return RECT{0, 24 * k, 258, 24 * k + 24}; }
    RECT TipRect() const { return device.Window(tip)->rect; }
    bool Parked() const {
        RECT r = TipRect();
        return r.left == 21000 && r.top == 21000 && r.right == 21200 && r.bottom == 21100;
    }

    HWND tip = nullptr;
    HDC dc = nullptr;
};

TEST_F(MenuTipTest, StartsShownParkedAndTopmostWithItsTimer) {
    ASSERT_NE(tip, nullptr);
    sim::WindowInfo info = *device.Window(tip);
    EXPECT_EQ(info.title, u"Zarvic_MenuTip");
    EXPECT_EQ(info.exStyle, 0x88u);
    EXPECT_EQ(info.style, 0x88000000u);
    EXPECT_EQ(info.owner, MainWindow());
    EXPECT_TRUE(info.visible);
    EXPECT_TRUE(info.topmost);
    EXPECT_FALSE(info.enabled);
    EXPECT_TRUE(Parked());
    EXPECT_NE(device.Foreground(), tip);
    auto registered = device.Calls("RegisterClassW", zarvic);
    ASSERT_FALSE(registered.empty());
    EXPECT_EQ(registered.back().text, u"Zarvic_MenuTip");
    EXPECT_EQ(registered.back().args[0], CS_HREDRAW | CS_VREDRAW);
    auto timers = device.Calls("SetTimer", zarvic);
    ASSERT_FALSE(timers.empty());
    EXPECT_EQ(timers.back().args[0], reinterpret_cast<intptr_t>(tip));
    EXPECT_EQ(timers.back().args[1], 127);
    EXPECT_EQ(timers.back().args[2], 100);
}

TEST_F(MenuTipTest, ASelectedEntryShowsItsWholeTextBesideIt) {
    PutHistory({u"zero", u"first line\r\nsecond & more"});
    Draw(dc, 201, Row(1), true, menuHandle);

    RECT r = TipRect();
    EXPECT_EQ(r.left, 559 + 4);
    EXPECT_EQ(r.right - r.left, 12 * kNarrow + kWide + 6) << "as wide as its widest line";
    EXPECT_EQ(r.top, 101 + 24) << "level with the item";
    EXPECT_EQ(r.bottom - r.top, 24 + kLineHeight + 1);
    EXPECT_TRUE(device.Window(tip)->topmost);
    EXPECT_EQ(g_menuTipItemId, 201u);
    EXPECT_EQ(g_hTrackedMenuWnd, menuWindow);

    sim::WindowDrawing shown = sim::DrawingOf(tip);
    ASSERT_EQ(shown.fills.size(), 2u);
    EXPECT_EQ(shown.fills[0].color, RGB(0, 0, 0)) << "the frame in the info-text colour";
    EXPECT_EQ(shown.fills[0].rect.right, r.right - r.left);
    EXPECT_EQ(shown.fills[1].color, RGB(255, 255, 225)) << "inside it the info background";
    EXPECT_EQ(shown.fills[1].rect.left, 1);
    EXPECT_EQ(shown.fills[1].rect.bottom, r.bottom - r.top - 1);
    ASSERT_EQ(shown.texts.size(), 2u);
    EXPECT_EQ(shown.texts[0].text, u"first line");
    EXPECT_EQ(shown.texts[1].text, u"second & more") << "the ampersand shows as itself";
    EXPECT_EQ(shown.texts[1].box.left, 3);
    EXPECT_EQ(shown.texts[1].box.top, kLineHeight);
    EXPECT_EQ(shown.texts[1].visible, u"second & more");
    EXPECT_EQ(shown.texts[1].format, static_cast<UINT>(DT_NOPREFIX));
    EXPECT_EQ(shown.texts[0].color, RGB(0, 0, 0));
    EXPECT_EQ(shown.texts[0].bkMode, TRANSPARENT);
    EXPECT_EQ(shown.texts[0].Face(), kMenuFace);
    std::vector<intptr_t> brushes;
    for (const sim::Call& c : device.Calls("GetSysColorBrush", zarvic)) brushes.push_back(c.args[0]);
    EXPECT_NE(std::find(brushes.begin(), brushes.end(), 0x40000017), brushes.end());
    EXPECT_NE(std::find(brushes.begin(), brushes.end(), 0x40000018), brushes.end());
    EXPECT_TRUE(sim::LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(sim::OpenDeviceContexts(zarvic), 0u);
}

TEST_F(MenuTipTest, FollowsTheHighlightInEitherOrderOfTheTwoDrawings) {
    PutHistory({u"zero", u"one", u"two"});
    Draw(dc, 200, Row(0), true, menuHandle);
    EXPECT_EQ(TipRect().top, 101);
    Draw(dc, 200, Row(0), false, menuHandle);  // old first, then new
    EXPECT_TRUE(Parked());
    EXPECT_EQ(g_menuTipItemId, 0u);
    Draw(dc, 201, Row(1), true, menuHandle);
    EXPECT_EQ(TipRect().top, 125);
    Draw(dc, 202, Row(2), true, menuHandle);  // new first, then old
    Draw(dc, 201, Row(1), false, menuHandle);
    EXPECT_EQ(TipRect().top, 149) << "the old entry is no longer the one shown";
    EXPECT_EQ(g_menuTipItemId, 202u);
    Draw(dc, 200, Row(0), false, menuHandle);
    EXPECT_EQ(TipRect().top, 149);
}

TEST_F(MenuTipTest, ClearClipboardAndCancelNeverPreview) {
    PutHistory({u"zero"});
    Draw(dc, 200, Row(0), true, menuHandle);
    Draw(dc, IDM_CLEAR, Row(2), true, menuHandle);
    Draw(dc, 200, Row(0), false, menuHandle);
    EXPECT_TRUE(Parked());
    Draw(dc, IDM_CANCEL, Row(3), true, menuHandle);
    EXPECT_TRUE(Parked());
}

TEST_F(MenuTipTest, ParksOnTheNextTickOnceTheMenuWindowIsGone) {
    PutHistory({u"zero"});
    Draw(dc, 200, Row(0), true, menuHandle);
    ASSERT_FALSE(Parked());
    device.Advance(100);
    EXPECT_FALSE(Parked()) << "the menu is still there";
    ReleaseDC(menuWindow, dc);
    dc = GetDC(nullptr);
    DestroyWindow(menuWindow);
    device.Advance(100);
    EXPECT_TRUE(Parked());
    EXPECT_EQ(g_hTrackedMenuWnd, nullptr);
    EXPECT_EQ(g_menuTipItemId, 200u) << "parking by the timer leaves the shown item";
}

TEST_F(MenuTipTest, OnlyAVisibleMenuWindowWhoseItemsItHoldsIsFollowed) {
    PutHistory({u"zero"});
    Draw(dc, 200, RECT{0, 0, 250, 24}, true, menuHandle);
    EXPECT_TRUE(Parked()) << "the item's right edge is not the menu's";
    ShowWindow(menuWindow, SW_HIDE);
    Draw(dc, 200, Row(0), true, menuHandle);
    EXPECT_TRUE(Parked()) << "no visible menu window";
    EXPECT_EQ(g_hTrackedMenuWnd, nullptr);
}

TEST_F(MenuTipTest, NothingIsPreviewedWithTheSettingOffOrForAnEmptyEntry) {
    PutHistory({u"zero", u""});
    Draw(dc, 201, Row(1), true, menuHandle);
    EXPECT_TRUE(Parked()) << "an empty entry";
    g_settings.showToolTip = 0;
    Draw(dc, 200, Row(0), true, menuHandle);
    EXPECT_TRUE(Parked());
    EXPECT_EQ(g_pszMenuTipText, nullptr);
}

TEST_F(MenuTipTest, APreviewThatCannotBeAllocatedLeavesTheTooltipWhereItIs) {
    PutHistory({u"zero", u"one"});
    Draw(dc, 200, Row(0), true, menuHandle);
    RECT before = TipRect();
    device.FailAllocations(0, 1);
    Draw(dc, 201, Row(1), true, menuHandle);
    EXPECT_EQ(TipRect().top, before.top);
    EXPECT_EQ(g_pszMenuTipText, nullptr);
}

TEST_F(MenuTipTest, PreviewsAtMost1024Characters) {
    std::u16string plain;
    for (int i = 0; i < 1500; ++i) plain += static_cast<char16_t>(u'a' + i % 26);
    std::u16string tabbed;  // 1000 characters, 10 tabs each at a column that is a multiple of 4
    for (int i = 0; i < 10; ++i) tabbed += u"\t" + std::u16string(96, u'x');
    tabbed += std::u16string(30, u'y');
    ASSERT_EQ(tabbed.size(), 1000u);
    PutHistory({plain, tabbed});

    Draw(dc, 200, Row(0), true, menuHandle);
    ASSERT_NE(g_pszMenuTipText, nullptr);
    EXPECT_EQ(std::u16string(g_pszMenuTipText), plain.substr(0, 1024)) << "without dots";
    EXPECT_EQ(device.LiveBlocks(zarvic).at(0).size, 1025u * 2);

    Draw(dc, 201, Row(1), true, menuHandle);
    std::u16string expanded;
    for (int i = 0; i < 10; ++i) expanded += u"    " + std::u16string(96, u'x');
    expanded += std::u16string(30, u'y');
    ASSERT_EQ(expanded.size(), 1030u) << "each tab grows by three";
    EXPECT_EQ(std::u16string(g_pszMenuTipText), expanded.substr(0, 1024));
    EXPECT_EQ(device.LiveBlocks(zarvic).size(), 1u) << "the previous preview is freed";
}

TEST_F(MenuTipTest, DestroyingRemovesWindowTimerAndClassAndThePreviewGoesAtExit) {
    PutHistory({u"zero"});
    Draw(dc, 200, Row(0), true, menuHandle);
    RunInZarvic([] { DestroyMenuTip(); });
    EXPECT_FALSE(device.Window(tip));
    EXPECT_EQ(g_hMenuTipWnd, nullptr);
    EXPECT_FALSE(device.Calls("UnregisterClassW", zarvic).empty());
    auto kills = device.Calls("KillTimer", zarvic);
    ASSERT_FALSE(kills.empty());
    EXPECT_EQ(kills.back().args[1], 127);
    EXPECT_NE(g_pszMenuTipText, nullptr) << "the preview outlives the window";

    size_t destroys = device.Calls("DestroyWindow", zarvic).size();
    RunInZarvic([] { DestroyMenuTip(); });
    EXPECT_EQ(device.Calls("DestroyWindow", zarvic).size(), destroys) << "no tooltip: nothing to do";

    RunInZarvic([] { CreateMenuTip(); });
    EXPECT_NE(device.FindWindow(u"Zarvic_MenuTip"), nullptr) << "the class can be registered again";
    RunInZarvic([] { DestroyMenuTip(); });

    TearDown();  // gives the history back, as the program's own end does
    CloseZarvic();
    ExpectNoLeaks();
    EXPECT_TRUE(sim::LiveGdiObjects(zarvic).empty());
}

TEST_F(MenuTipTest, WithoutAWindowNothingIsShownAndNothingBreaks) {
    RunInZarvic([] { DestroyMenuTip(); });
    device.FailNextWindowCreation();
    RunInZarvic([] { CreateMenuTip(); });
    EXPECT_EQ(g_hMenuTipWnd, nullptr);
    PutHistory({u"zero"});
    Draw(dc, 200, Row(0), true, menuHandle);
    Draw(dc, 200, Row(0), false, menuHandle);
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
    EXPECT_NE(g_pszMenuTipText, nullptr) << "the text is still prepared";
}

}  // namespace
