// The preview tooltip: preparing the text, laying the window out beside the menu, and
// following the highlight while the menu is open.
#include "app/app.h"
#include "core/settings.h"
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

TEST(MenuTipText, TabsRunToTheNextColumnOfFourAndEveryLineEndStartsAColumnAgain) {
    EXPECT_EQ(Expand(u"\tx", 64), u"    x");
    EXPECT_EQ(Expand(u"ab\tx", 64), u"ab  x");
    EXPECT_EQ(Expand(u"abcd\tx", 64), u"abcd    x");
    EXPECT_EQ(Expand(u"abc\r\n\tx", 64), u"abc\r\n    x");
    EXPECT_EQ(Expand(u"ab\n\tx", 64), u"ab\n    x") << "a lone LF";
    EXPECT_EQ(Expand(u"ab\r\tx", 64), u"ab\r    x") << "a lone CR";
}

TEST(MenuTipText, StopsAtTheBoundWhereverItFalls) {
    EXPECT_EQ(Expand(u"abcdef", 4), u"abc");
    EXPECT_EQ(Expand(u"a\tb", 4), u"a  ") << "in the middle of a tab's spaces";
    EXPECT_EQ(Expand(u"a\r\nb", 3), u"a\r") << "between CR and LF";
    EXPECT_EQ(Expand(u"ab\U0001F600", 4), u"ab") << "before a pair, not inside it";
    EXPECT_EQ(Expand(u"", 1), u"");
    WCHAR untouched[2] = {u'q', 0};
    ExpandTabs(untouched, 0, u"abc", 4);
    ExpandTabs(untouched, 2, nullptr, 4);
    ExpandTabs(nullptr, 2, u"abc", 4);
    EXPECT_EQ(untouched[0], u'q');
}

// ---- laying the window out ----

// One layout: the text, the menu's client area on the screen and the item within it, and
// the tooltip rectangle expected on the 800 x 480 screen, whose work area ends at 454.
struct LayoutCase {
    const char* name;
    std::u16string text;
    RECT menu, item, expected;
};

std::u16string Lines(int n) {
    std::u16string text = u"line";
    for (int i = 1; i < n; ++i) text += u"\r\nline";
    return text;
}

class LayoutTest : public MenuLookTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTest, PlacesTheTooltip) {
    const LayoutCase& c = GetParam();
    RECT out{-1, -1, -1, -1};
    ASSERT_EQ(LayoutMenuTip(MainWindow(), c.text.c_str(), &out, &c.menu, &c.item), 1);
    EXPECT_EQ(out.left, c.expected.left);
    EXPECT_EQ(out.top, c.expected.top);
    EXPECT_EQ(out.right, c.expected.right);
    EXPECT_EQ(out.bottom, c.expected.bottom);
    EXPECT_TRUE(device.LiveGdiObjects(0).empty());
    EXPECT_EQ(device.OpenDeviceContexts(0), 0u);
}

const RECT kItem{0, 0, 200, 24}, kLow{0, 0, 200, kLineHeight};
INSTANTIATE_TEST_SUITE_P(
    MenuTip, LayoutTest,
    ::testing::Values(
        // horizontally: 4 pixels right of the menu, wmax + 6 wide, as high as the item + 1
        LayoutCase{"Right", std::u16string(25, u'a'), {100, 100, 300, 300}, kItem, {304, 100, 560, 125}},
        LayoutCase{"LeftForLackOfRoom", std::u16string(25, u'a'), {500, 100, 700, 300}, kItem, {240, 100, 496, 125}},
        LayoutCase{"LeftKeptOnTheScreen", std::u16string(60, u'a'), {500, 100, 700, 300}, kItem, {3, 100, 496, 125}},
        LayoutCase{"RightWhenTheLeftHasNoMore", std::u16string(60, u'a'), {350, 100, 450, 300}, {0, 0, 100, 24},
                   {454, 100, 1060, 125}},
        // vertically, level with the item, moved up only from the lower half of the work
        // area (above the taskbar: 454 high)
        LayoutCase{"Up", Lines(10), {100, 300, 300, 400}, kLow, {304, 254, 350, 455}},
        LayoutCase{"UpToTheMiddle", Lines(20), {100, 300, 300, 400}, kLow, {304, 227, 350, 628}},
        LayoutCase{"OffTheBottomFromTheUpperHalf", Lines(25), {100, 100, 300, 400}, kLow, {304, 100, 350, 601}},
        LayoutCase{"LevelWithTheItem", Lines(2), {100, 250, 300, 400}, {0, 50, 200, 70}, {304, 300, 350, 341}},
        // lines end at CR LF, a lone CR or a lone LF; an empty line measures as a space
        LayoutCase{"NoEmptyLastLine", u"abc\r\n", {100, 100, 300, 300}, kItem, {304, 100, 340, 125}},
        LayoutCase{"OnlyALineBreak", u"\r\n", {100, 100, 300, 300}, kItem, {304, 100, 320, 125}},
        LayoutCase{"EmptyLineBetween", u"a\r\n\r\nbb", {100, 100, 300, 300}, kItem, {304, 100, 330, 165}},
        LayoutCase{"LoneLfAndCrEndLines", u"ab\ncd\re", {100, 100, 300, 300}, kItem, {304, 100, 330, 165}},
        LayoutCase{"NoEmptyLastLineAfterALoneLf", u"abc\n", {100, 100, 300, 300}, kItem, {304, 100, 340, 125}},
        LayoutCase{"ALineTallerThanTheItem", u"a", {100, 100, 300, 300}, {0, 0, 200, 12}, {304, 100, 320, 121}}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

TEST_F(MenuLookTest, LayoutNeedsAWindowAndAText) {
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
    EXPECT_EQ(info.exStyle, static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(info.style, static_cast<DWORD>(WS_POPUP | WS_DISABLED));
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
    auto timers = device.Timers(tip);
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].id, static_cast<UINT_PTR>(TIMER_ID_MENU_TIP));
    EXPECT_EQ(timers[0].interval, 100u);
}

TEST_F(MenuTipTest, ASelectedEntryShowsItsWholeTextBesideIt) {
    PutHistory({u"zero", u"first line\r\nsecond & more"});
    Draw(dc, IDM_HISTORY_FIRST + 1, Row(1), true, menuHandle);

    RECT r = TipRect();
    EXPECT_EQ(r.left, 559 + 4);
    EXPECT_EQ(r.right - r.left, 12 * kNarrow + kWide + 6) << "as wide as its widest line";
    EXPECT_EQ(r.top, 101 + 24) << "level with the item";
    EXPECT_EQ(r.bottom - r.top, 24 + kLineHeight + 1);
    EXPECT_TRUE(device.Window(tip)->topmost);
    EXPECT_EQ(g_menuTipItemId, static_cast<UINT>(IDM_HISTORY_FIRST + 1));
    EXPECT_EQ(g_hTrackedMenuWnd, menuWindow);

    sim::WindowDrawing shown = device.DrawingOf(tip);
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
    for (intptr_t colour : {COLOR_INFOTEXT, COLOR_INFOBK})
        EXPECT_NE(std::find(brushes.begin(), brushes.end(), colour | SYS_COLOR_INDEX_FLAG), brushes.end()) << colour;
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
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

// An empty entry, the setting off, or no memory for the preview: the tooltip stays.
TEST_F(MenuTipTest, NothingIsPreviewedWithoutTextSettingOrMemory) {
    PutHistory({u"zero", u"", u"two"});
    Draw(dc, 201, Row(1), true, menuHandle);
    EXPECT_TRUE(Parked()) << "an empty entry";
    device.FailNext(sim::FaultPoint::LocalAlloc);
    Draw(dc, 202, Row(2), true, menuHandle);
    EXPECT_TRUE(Parked()) << "no memory";
    EXPECT_EQ(g_pszMenuTipText, nullptr);
    g_settings.showToolTip = 0;
    Draw(dc, 200, Row(0), true, menuHandle);
    EXPECT_TRUE(Parked()) << "the setting off";
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
    EXPECT_TRUE(device.Timers(tip).empty());
    EXPECT_NE(g_pszMenuTipText, nullptr) << "the preview outlives the window";

    size_t destroys = device.Calls("DestroyWindow", zarvic).size();
    RunInZarvic([] { DestroyMenuTip(); });
    EXPECT_EQ(device.Calls("DestroyWindow", zarvic).size(), destroys) << "no tooltip: nothing to do";

    RunInZarvic([] { CreateMenuTip(); });
    EXPECT_NE(device.FindWindow(u"Zarvic_MenuTip"), nullptr) << "the class can be registered again";
    RunInZarvic([] { DestroyMenuTip(); });

    ClearHistory();
    CloseZarvic();
    ExpectNoLeaks();
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
}

TEST_F(MenuTipTest, WithoutAWindowNothingIsShownAndNothingBreaks) {
    RunInZarvic([] { DestroyMenuTip(); });
    device.FailNext(sim::FaultPoint::WindowCreation);
    RunInZarvic([] { CreateMenuTip(); });
    EXPECT_EQ(g_hMenuTipWnd, nullptr);
    PutHistory({u"zero"});
    Draw(dc, 200, Row(0), true, menuHandle);
    Draw(dc, 200, Row(0), false, menuHandle);
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
    EXPECT_NE(g_pszMenuTipText, nullptr) << "the text is still prepared";
}

}  // namespace
