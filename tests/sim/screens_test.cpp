// A desktop's screens: the history menu opens on the caret's screen, in that screen's DPI,
// and its preview stays in that screen's work area, wherever the screen lies.
#include "history_menu_fixture.h"
#include "menu/menu_font.h"
#include "menu/menu_tip.h"
#include "menu_item_fixture.h"
#include "platform/sim/monitors.h"

using namespace zarvic_test;

namespace {

// The primary screen of the device's size, and a larger one at 144 DPI left of it and
// reaching above it, with a taskbar of its own at its bottom.
const sim::Monitor kPrimary{{0, 0, 800, 480}, {0, 0, 800, 454}, 96};
const sim::Monitor kLeftHigh{{-1280, -300, 0, 724}, {-1280, -300, 0, 684}, 144};

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The test menu font as the 144-DPI screen scales it: one and a half times the size.
void UseTestMenuFontAt144() {
    sim::FontModel model;
    model.height = kLineHeight * 3 / 2;
    model.ascent = 24;
    model.externalLeading = kLeading * 3 / 2;
    model.narrow = kNarrow * 3 / 2;
    model.wide = kWide * 3 / 2;
    model.fullWidth = kFullWidth * 3 / 2;
    sim::Device::Current().SetFontModel(kMenuFace, kMenuFontHeight * 3 / 2, model);
}

}  // namespace

TEST_F(HistoryMenuTest, OnADesktopTheMenuOpensOnTheCaretsScreenInItsDpiWithThePreviewInItsWorkArea) {
    UseTestMenuFont();
    UseTestMenuFontAt144();
    device.SetMonitors({kPrimary, kLeftHigh});
    StartWithToolTip(true);
    CaptureEntries(2);

    struct Case {
        const char* where;
        RECT editor;
        sim::Monitor screen;
        LONG itemHeight;
    } cases[] = {
        {"primary", {100, 100, 700, 400}, kPrimary, 14 + 2},  // the device's: its system font's line
        {"left, 144 DPI", {-260, -280, -10, 100}, kLeftHigh, (kLineHeight + kLeading) * 3 / 2},
    };
    for (const Case& c : cases) {
        SetWindowPos(editor, nullptr, c.editor.left, c.editor.top, c.editor.right - c.editor.left,
                     c.editor.bottom - c.editor.top, SWP_NOZORDER | SWP_NOACTIVATE);
        PressMenuHotKey();
        sim::OpenMenuInfo menu = Menu();
        EXPECT_TRUE(Inside(menu.rect, c.screen.screen)) << c.where;
        EXPECT_EQ(menu.items[0].rect.bottom - menu.items[0].rect.top, c.itemHeight) << c.where;
        device.PressKey(VK_DOWN);
        RECT tip = device.Window(g_hMenuTipWnd)->rect;
        EXPECT_LT(tip.left, 21000) << c.where << ": the preview is shown";
        EXPECT_TRUE(Inside(tip, c.screen.work)) << c.where;
        device.PressKey(VK_ESCAPE);
        EXPECT_EQ(g_menuDpi, static_cast<UINT>(SCREEN_DEFAULT_DPI)) << "only while the menu is open";
    }
}

// The preview beside a menu on screens left of and above the primary one: it flips or
// moves up by that screen's work area, not the primary's.
TEST_F(MenuLookTest, ThePreviewKeepsToTheWorkAreaOfTheMenusScreen) {
    const sim::Monitor above{{0, -600, 800, 0}, {0, -600, 800, -30}, 96};
    device.SetMonitors({kPrimary, kLeftHigh, above});
    std::u16string lines = u"line";
    for (int i = 1; i < 10; ++i) lines += u"\r\nline";
    struct Case {
        const char* name;
        std::u16string text;
        RECT menu, item, expected;
    } cases[] = {
        {"left of the menu at the left screen's right edge", std::u16string(25, u'a'), {-300, 100, -100, 300},
         {0, 0, 200, 24}, {-560, 100, -304, 125}},
        {"up from the taskbar of the screen above", lines, {100, -200, 300, -50}, {0, 0, 200, kLineHeight},
         {304, -230, 350, -29}},
        {"kept off the left screen's left edge", std::u16string(60, u'a'), {-700, 100, -100, 300},
         {0, 0, 600, 24}, {-1277, 100, -704, 125}},
    };
    for (const Case& c : cases) {
        RECT out{};
        ASSERT_EQ(LayoutMenuTip(MainWindow(), c.text.c_str(), &out, &c.menu, &c.item), 1);
        EXPECT_EQ(out.left, c.expected.left) << c.name;
        EXPECT_EQ(out.top, c.expected.top) << c.name;
        EXPECT_EQ(out.right, c.expected.right) << c.name;
        EXPECT_EQ(out.bottom, c.expected.bottom) << c.name;
    }
}
