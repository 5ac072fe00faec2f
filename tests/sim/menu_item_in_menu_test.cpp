// The history menu as it shows on the device: what its items and its preview look like
// while a person moves through it with the keys.
#include "app/app.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu_item_fixture.h"
#include "platform/sim/caret.h"
#include "platform/sim/dc.h"
#include "platform/sim/menu.h"

using namespace zarvic_test;

namespace {

LRESULT CALLBACK CaretHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class MenuInMenuTest : public MenuLookTest {
protected:
    void SetUp() override {
        MenuLookTest::SetUp();
        // the system font as high as the menu font, so that labels fit their items
        sim::FontModel system;
        system.height = kLineHeight;
        system.externalLeading = kLeading;
        device.SetFontModel(u"System", 0, system);
        // an application's caret at (100, 60) on a device whose caret is system-wide: the
        // menu opens there
        device.SetSystemWideCaret(true);
        WNDCLASSW wc{};
        wc.lpfnWndProc = CaretHostProc;
        wc.lpszClassName = u"CaretHost";
        RegisterClassW(&wc);
        HWND host = CreateWindowExW(0, u"CaretHost", u"", WS_POPUP, 0, 0, 800, 454, nullptr, nullptr, nullptr, nullptr);
        CreateCaret(host, nullptr, 2, 16);
        SetCaretPos(100, 60);
    }
    void OpenHistoryMenu() {
        ASSERT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
        menu = device.OpenMenu();
        ASSERT_TRUE(menu.has_value());
        tip = device.FindWindow(u"Zarvic_MenuTip");
    }
    // The runs drawn for item position pos of the open menu.
    std::vector<sim::TextRun> TextsOf(int pos) const {
        RECT r = menu->items[static_cast<size_t>(pos)].rect;
        std::vector<sim::TextRun> out;
        for (const sim::TextRun& t : device.DrawingOf(menu->window).texts)
            if (t.formatRect.top == r.top && t.formatRect.bottom == r.bottom) out.push_back(t);
        return out;
    }
    COLORREF FillOf(int pos) const {
        RECT r = menu->items[static_cast<size_t>(pos)].rect;
        COLORREF color = 0xFFFFFFFF;
        for (const sim::FilledRect& f : device.DrawingOf(menu->window).fills)
            if (f.rect.top == r.top && f.rect.bottom == r.bottom && f.rect.right == r.right) color = f.color;
        return color;
    }
    RECT MenuClientOnScreen() const {
        RECT c{};
        GetClientRect(menu->window, &c);
        POINT o{0, 0};
        ClientToScreen(menu->window, &o);
        return RECT{o.x, o.y, o.x + c.right, o.y + c.bottom};
    }
    bool TipParked() const { return device.Window(tip)->rect.left == 21000; }

    std::optional<sim::OpenMenuInfo> menu;
    HWND tip = nullptr;
};

TEST_F(MenuInMenuTest, TheMenuShowsMnemonicsLabelsAndFollowsTheHighlightWithThePreview) {
    PutHistory({u"first\tline\r\nand more", u"second & last", u"third"});
    OpenHistoryMenu();
    ASSERT_EQ(menu->items.size(), 6u);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(TipParked()) << "nothing is highlighted yet";

    const std::u16string mnemonics = u"123";
    for (int k = 0; k < 3; ++k) {
        auto texts = TextsOf(k);
        ASSERT_EQ(texts.size(), 2u) << "entry " << k;
        EXPECT_EQ(texts[0].text, mnemonics.substr(static_cast<size_t>(k), 1));
        EXPECT_EQ(texts[0].underline, 0);
        EXPECT_EQ(texts[1].Face(), kMenuFace);
        EXPECT_EQ(FillOf(k), RGB(192, 192, 192));
    }
    EXPECT_EQ(TextsOf(0)[1].text, u"first   line") << "first line, tab expanded";
    EXPECT_EQ(TextsOf(1)[1].text, u"second & last");
    ASSERT_EQ(TextsOf(4).size(), 1u);
    EXPECT_EQ(TextsOf(4)[0].text, u"Clear Clipboard");
    EXPECT_EQ(TextsOf(4)[0].Underlined(), u'C');
    EXPECT_EQ(TextsOf(5)[0].text, u"CANCEL");
    for (const auto& item : menu->items) {
        if (item.flags & MF_OWNERDRAW) {
            EXPECT_LE(item.rect.right, 16 * kNarrow + 12) << "at most the maximum width";
        }
    }

    device.PressKey(VK_DOWN);
    menu = device.OpenMenu();
    EXPECT_EQ(FillOf(0), RGB(0, 0, 128));
    EXPECT_EQ(TextsOf(0)[1].color, RGB(255, 255, 255));
    RECT client = MenuClientOnScreen();
    RECT shown = device.Window(tip)->rect;
    EXPECT_EQ(shown.left, client.right + 4);
    EXPECT_EQ(shown.top, client.top + menu->items[0].rect.top);
    sim::WindowDrawing preview = device.DrawingOf(tip);
    ASSERT_EQ(preview.texts.size(), 2u);
    EXPECT_EQ(preview.texts[0].text, u"first   line");
    EXPECT_EQ(preview.texts[1].text, u"and more");

    device.PressKey(VK_DOWN);
    menu = device.OpenMenu();
    EXPECT_EQ(FillOf(0), RGB(192, 192, 192));
    EXPECT_EQ(TextsOf(0)[1].color, RGB(0, 0, 0)) << "the old highlight leaves no colour behind";
    EXPECT_EQ(device.Window(tip)->rect.top, client.top + menu->items[1].rect.top);
    EXPECT_EQ(device.DrawingOf(tip).texts.at(0).text, u"second & last");

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);  // past the separator to "Clear Clipboard"
    menu = device.OpenMenu();
    EXPECT_EQ(menu->highlighted, 4);
    EXPECT_TRUE(TipParked());

    HWND menuWindow = menu->window;
    LONG width = MenuClientOnScreen().right - MenuClientOnScreen().left;
    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(device.OpenMenu().has_value());
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
    EXPECT_EQ(g_menuSize.cx, width) << "the right edge of the last item drawn";
    EXPECT_EQ(device.DrawingOf(menuWindow).texts.size(), 8u) << "what the menu last showed";
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
    EXPECT_TRUE(device.GdiMisuses().empty());
}

TEST_F(MenuInMenuTest, TheLastFiveOfFortyEntriesHaveAnEmptyMnemonicColumn) {
    sim::FontModel small;  // lines of 10 pixels: 48 fit, so all forty entries are shown
    small.height = 8;
    small.externalLeading = 2;
    sim::FontModel menuFont = sim::ModelOf(device.PopupMenuLogFont());
    menuFont.height = 8;
    device.SetFontModel(kMenuFace, 0, menuFont);
    device.SetFontModel(u"System", 0, small);
    std::vector<std::u16string> entries;
    for (int k = 0; k < 40; ++k) entries.push_back(u"entry " + std::u16string(1, static_cast<char16_t>(u'a' + k % 26)));
    PutHistory(entries);
    OpenHistoryMenu();
    ASSERT_EQ(menu->items.size(), 43u);
    EXPECT_EQ(TextsOf(34).at(0).Underlined(), u'Z');
    for (int k = 35; k < 40; ++k) {
        auto texts = TextsOf(k);
        ASSERT_EQ(texts.size(), 1u) << "entry " << k + 1;
        EXPECT_EQ(texts[0].text, entries[static_cast<size_t>(k)]);
    }
    device.PressKey(VK_ESCAPE);
}

}  // namespace
