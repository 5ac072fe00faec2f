// The owner-drawn items of the history menu: their labels, measurements and drawing.
#include "app/app.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu/menu_item.h"
#include "menu_item_fixture.h"
#include "platform/sim/dc.h"

using namespace zarvic_test;

namespace {

std::u16string Repeat(char16_t c, size_t n) { return std::u16string(n, c); }

// ---- the first line ----

TEST(CopyFirstLine, StopsAtALineEndOrTheBound) {
    WCHAR out[16];
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"abc\r\ndef", 16)), u"abc");
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"\r\nabc", 16)), u"");
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"ab\ncd", 16)), u"ab") << "a lone LF";
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"ab\rcd", 16)), u"ab") << "a lone CR";
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"abcdefgh", 4)), u"abc");
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"ab\U0001F600c", 4)), u"ab") << "the bound falls inside a pair";
    EXPECT_EQ(std::u16string(CopyFirstLine(out, u"", 4)), u"");
}

TEST(CopyFirstLine, LeavesTheDestinationAloneWithoutSourceOrRoom) {
    WCHAR out[4] = {u'x', u'y', u'z', 0};
    EXPECT_EQ(CopyFirstLine(out, nullptr, 4), out);
    EXPECT_EQ(CopyFirstLine(nullptr, u"abc", 4), nullptr);
    EXPECT_EQ(CopyFirstLine(out, u"abc", 0), out) << "no room even for the terminator";
    EXPECT_EQ(std::u16string(out), u"xyz");
}

// ---- fitting a label to a width ----

class FitTextTest : public MenuLookTest {
protected:
    // FitTextToWidth as the drawing calls it, in a context of the menu window.
    std::u16string Fit(const std::u16string& src, int width, int count = MENU_LABEL_UNITS) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ before = device.FontSelectedInto(dc);
        std::vector<WCHAR> out(static_cast<size_t>(count) + 8, u'Z');
        WCHAR* result = FitTextToWidth(dc, out.data(), src.c_str(), count, width, MENU_LABEL_TAB_SIZE);
        EXPECT_EQ(result, out.data());
        EXPECT_EQ(device.FontSelectedInto(dc), before) << "the context's font is given back";
        for (size_t i = static_cast<size_t>(count); i < out.size(); ++i)
            EXPECT_EQ(out[i], u'Z') << "written past the " << count << " units at " << i;
        ReleaseDC(nullptr, dc);
        EXPECT_TRUE(device.LiveGdiObjects(0).empty()) << "the menu font is deleted";
        return std::u16string(out.data());
    }
};

TEST_F(FitTextTest, CutsWithDotsOnlyWhenAFurtherCharacterDoesNotFit) {
    // ten narrow characters fill 100 pixels exactly
    EXPECT_EQ(Fit(Repeat(u'a', 30), 100), Repeat(u'a', 10) + u"...");
    EXPECT_EQ(Fit(Repeat(u'a', 12), 100), Repeat(u'a', 10) + u"...");
    EXPECT_EQ(Fit(Repeat(u'a', 11), 100), Repeat(u'a', 11)) << "the last character may be the one that overflows";
    EXPECT_EQ(Fit(Repeat(u'a', 10), 100), Repeat(u'a', 10));
    EXPECT_EQ(Fit(u"abc", 5), u"a") << "a cut after the first character leaves it alone";
    EXPECT_EQ(Fit(u"abc", -1), u"");
    EXPECT_EQ(Fit(u"WWWWWW", 3 * kWide), u"WWW...") << "widths of the menu font";
}

TEST_F(FitTextTest, HoldsAtMost128Characters) {
    EXPECT_EQ(Fit(Repeat(u'a', 130), 126 * kNarrow), Repeat(u'a', 126) + u"..") << "a cut at the bound has two dots";
    EXPECT_EQ(Fit(Repeat(u'a', 200), 127 * kNarrow), Repeat(u'a', 128)) << "127 fit: 128 shown, no dots";
    EXPECT_EQ(Fit(Repeat(u'a', 200), 100000), Repeat(u'a', 128));
}

// One character in two units: 20 pixels for the first half, nothing for the second.
const std::u16string kPair = u"\U0001F600";

TEST_F(FitTextTest, CutsBeforeASurrogatePairNeverInsideIt) {
    EXPECT_EQ(Fit(Repeat(u'a', 127) + kPair, 100000), Repeat(u'a', 127)) << "at the 128-unit bound";
    EXPECT_EQ(Fit(kPair + u"abc", 15), u"") << "the first character alone";
    EXPECT_EQ(Fit(u"ab" + kPair + u"cdef", 45), u"ab" + kPair + u"...") << "a whole pair stays";
}

TEST_F(FitTextTest, ExpandsTabsToColumnsOfFourAndShowsTheFirstLineOnly) {
    EXPECT_EQ(Fit(u"\tX", 1000), u"    X");
    EXPECT_EQ(Fit(u"a\tX", 1000), u"a   X");
    EXPECT_EQ(Fit(u"ab\tX", 1000), u"ab  X");
    EXPECT_EQ(Fit(u"abc\tX", 1000), u"abc X");
    EXPECT_EQ(Fit(u"abcd\t\tX", 1000), u"abcd        X");
    EXPECT_EQ(Fit(u"abc\r\ndef", 1000), u"abc");
    EXPECT_EQ(Fit(u"ab\ncd", 1000), u"ab");
    EXPECT_EQ(Fit(u"ab\rcd", 1000), u"ab");
    EXPECT_EQ(Fit(u"\tabcdefgh", 60), u"    ab...") << "a tab's spaces count like characters";
    EXPECT_EQ(Fit(u"a\tb", 1000, 4), u"a  ") << "a tab's spaces stop at the bound too";
}

TEST_F(FitTextTest, LeavesTheDestinationWithoutASource) {
    HDC dc = GetDC(nullptr);
    WCHAR out[4] = {u'x', 0};
    EXPECT_EQ(FitTextToWidth(dc, out, nullptr, 4, 100, 4), out);
    EXPECT_EQ(std::u16string(out), u"x");
    ReleaseDC(nullptr, dc);
    EXPECT_TRUE(device.LiveGdiObjects(0).empty());
}

// ---- measuring ----

TEST_F(MenuLookTest, ItemsAreMeasuredInTheMenuFontAndCappedAtTheMaximumWidth) {
    PutHistory({u"hello", u"\r\nabc", Repeat(u'a', 30), u"ab\r\ncd"});
    const UINT height = 14 + 2;  // the main window's default font, as for the lines per screen
    MEASUREITEMSTRUCT cancel = Measure(IDM_CANCEL);
    EXPECT_EQ(cancel.itemWidth, 6u * kNarrow + 8);
    EXPECT_EQ(cancel.itemHeight, height);
    EXPECT_EQ(Measure(IDM_CLEAR).itemWidth, 15u * kNarrow + 8);
    EXPECT_EQ(Measure(200).itemWidth, static_cast<UINT>(kWide + 5 * kNarrow + 10));
    EXPECT_EQ(Measure(201).itemWidth, static_cast<UINT>(kWide + 10)) << "an entry starting with CR LF";
    EXPECT_EQ(Measure(202).itemWidth, static_cast<UINT>(kWide + 10 + 10 * kNarrow + 3 * kNarrow))
        << "measured as drawn: cut with its dots inside the maximum item width";
    EXPECT_EQ(Measure(203).itemWidth, static_cast<UINT>(kWide + 2 * kNarrow + 10)) << "its first line";
    EXPECT_EQ(Measure(204).itemWidth, static_cast<UINT>(kWide + 10)) << "an empty slot";
    EXPECT_EQ(Measure(204).itemHeight, height);

    g_maxItemWidth = 100;
    EXPECT_EQ(Measure(IDM_CLEAR).itemWidth, 100u) << "the cap holds for every item";
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
}

// ---- drawing ----

class DrawItemTest : public MenuLookTest {
protected:
    void SetUp() override {
        MenuLookTest::SetUp();
        g_settings.showToolTip = 0;
        MakeMenuWindow(RECT{300, 100, 560, 400});
        dc = GetDC(menuWindow);
    }
    void TearDown() override {
        ReleaseDC(menuWindow, dc);
        MenuLookTest::TearDown();
    }
    RECT Row(int k) const { return RECT{0, 24 * k, 258, 24 * k + 24}; }
    std::vector<sim::TextRun> TextsIn(const RECT& row) const {
        std::vector<sim::TextRun> out;
        for (const sim::TextRun& t : device.DrawingOf(menuWindow).texts)
            if (t.box.top >= row.top && t.box.bottom <= row.bottom) out.push_back(t);
        return out;
    }
    std::vector<sim::FilledRect> Fills() const { return device.DrawingOf(menuWindow).fills; }

    HDC dc = nullptr;
};

constexpr COLORREF kHighlight = RGB(0, 0, 128), kHighlightText = RGB(255, 255, 255), kMenu = RGB(192, 192, 192),
                   kMenuText = RGB(0, 0, 0);

TEST_F(DrawItemTest, ASelectedEntryShowsItsUnderlinedMnemonicAndItsLabelInTheHighlight) {
    PutHistory({u"hello & bye"});
    MakeMnemonicTable(menuHandle, {'1'});
    Draw(dc, 200, Row(0), true, menuHandle);

    ASSERT_EQ(Fills().size(), 1u);
    EXPECT_EQ(Fills()[0].color, kHighlight);
    EXPECT_EQ(Fills()[0].rect.right, 258);
    auto texts = TextsIn(Row(0));
    ASSERT_EQ(texts.size(), 2u);
    const sim::TextRun& mnemonic = texts[0];
    EXPECT_EQ(mnemonic.text, u"1");
    EXPECT_EQ(mnemonic.Underlined(), u'1');
    EXPECT_EQ(mnemonic.format, static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP));
    EXPECT_EQ(mnemonic.formatRect.left, 4);
    EXPECT_EQ(mnemonic.formatRect.right, kWide + 4 + 5);
    EXPECT_EQ(mnemonic.box.left, 4 + (kWide + 5 - kNarrow) / 2) << "centred in its column";
    EXPECT_EQ(mnemonic.box.top, (24 - kLineHeight) / 2) << "and vertically";
    EXPECT_EQ(mnemonic.color, kHighlightText);

    const sim::TextRun& label = texts[1];
    EXPECT_EQ(label.text, u"hello & bye") << "an ampersand of the entry shows as itself";
    EXPECT_EQ(label.underline, -1);
    EXPECT_EQ(label.format, static_cast<UINT>(DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX));
    EXPECT_EQ(label.box.left, kWide + 4 + 6);
    EXPECT_EQ(label.box.top, (24 - kLineHeight) / 2) << "one line, centred like the mnemonic";
    EXPECT_EQ(label.color, kHighlightText);
    EXPECT_EQ(label.bkMode, TRANSPARENT);
    EXPECT_EQ(label.Face(), kMenuFace) << "drawn in the font the menu's context carries";
    EXPECT_EQ(g_menuSize.cx, 258);
    EXPECT_EQ(g_menuSize.cy, 50);

    auto brushes = device.Calls("GetSysColorBrush", zarvic);
    ASSERT_EQ(brushes.size(), 1u);
    EXPECT_EQ(brushes[0].args[0], COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG);
    auto colors = device.Calls("GetSysColor", zarvic);
    ASSERT_EQ(colors.size(), 1u);
    EXPECT_EQ(colors[0].args[0], COLOR_HIGHLIGHTTEXT | SYS_COLOR_INDEX_FLAG);
}

TEST_F(DrawItemTest, AnUnselectedEntryKeepsTheTextColourOfTheContext) {
    PutHistory({u"hello"});
    MakeMnemonicTable(menuHandle, {'1'});
    SetTextColor(dc, RGB(1, 2, 3));
    Draw(dc, 200, Row(0), false, menuHandle);
    ASSERT_EQ(Fills().size(), 1u);
    EXPECT_EQ(Fills()[0].color, kMenu);
    for (const sim::TextRun& t : TextsIn(Row(0))) EXPECT_EQ(t.color, RGB(1, 2, 3));
    EXPECT_EQ(device.Calls("GetSysColorBrush", zarvic).at(0).args[0], COLOR_MENU | SYS_COLOR_INDEX_FLAG);
    EXPECT_TRUE(device.Calls("GetSysColor", zarvic).empty());
}

// The menu draws several items with one context; the highlight colours stay with the
// highlighted item.
TEST_F(DrawItemTest, TheContextGoesBackAsItCame) {
    PutHistory({u"one", u"two"});
    MakeMnemonicTable(menuHandle, {'1', '2'});
    Draw(dc, 200, Row(0), true, menuHandle);
    Draw(dc, 201, Row(1), false, menuHandle);
    EXPECT_EQ(GetTextColor(dc), kMenuText);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
    auto second = TextsIn(Row(1));
    ASSERT_EQ(second.size(), 2u);
    for (const sim::TextRun& t : second) EXPECT_EQ(t.color, kMenuText) << sim::ToUtf8(t.text);
    ASSERT_EQ(TextsIn(Row(0)).size(), 2u);
    EXPECT_EQ(TextsIn(Row(0))[1].color, kHighlightText);
}

TEST_F(DrawItemTest, ClearClipboardAndCancelUnderlineTheirC) {
    Draw(dc, IDM_CLEAR, Row(0), false, menuHandle);
    Draw(dc, IDM_CANCEL, Row(1), true, menuHandle);
    auto clear = TextsIn(Row(0));
    ASSERT_EQ(clear.size(), 1u);
    EXPECT_EQ(clear[0].text, u"Clear Clipboard");
    EXPECT_EQ(clear[0].underline, 0);
    EXPECT_EQ(clear[0].format, static_cast<UINT>(DT_VCENTER | DT_SINGLELINE | DT_NOCLIP));
    EXPECT_EQ(clear[0].box.left, 8);
    EXPECT_EQ(clear[0].box.top, (24 - kLineHeight) / 2);
    auto cancel = TextsIn(Row(1));
    ASSERT_EQ(cancel.size(), 1u);
    EXPECT_EQ(cancel[0].text, u"CANCEL");
    EXPECT_EQ(cancel[0].Underlined(), u'C');
    EXPECT_EQ(cancel[0].color, kHighlightText);
    EXPECT_EQ(g_menuSize.cx, 258) << "every item stores its right edge";
}

TEST_F(DrawItemTest, ALongEntryIsCutWithDotsAndAnEmptySlotHasNoLabel) {
    // room for the label: 160 - 19 - 6 = 135 pixels, less 30 for the dots: ten characters
    PutHistory({Repeat(u'x', 40) + u"\r\nsecond line"});
    MakeMnemonicTable(menuHandle, {'1', '2'});
    Draw(dc, 200, Row(0), false, menuHandle);
    auto texts = TextsIn(Row(0));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1].text, Repeat(u'x', 10) + u"...");
    Draw(dc, 201, Row(1), true, menuHandle);
    texts = TextsIn(Row(1));
    ASSERT_EQ(texts.size(), 1u) << "an empty slot: the mnemonic and no label";
    EXPECT_EQ(texts[0].text, u"2");
}

TEST_F(DrawItemTest, EntriesWithoutAMnemonicLeaveTheColumnEmpty) {
    std::vector<std::u16string> entries;
    std::vector<LONG> codes;
    for (int k = 0; k < 40; ++k) {
        entries.push_back(u"entry");
        codes.push_back(k < 9 ? '1' + k : k < 35 ? 'A' + (k - 9) : MNEMONIC_NONE);
    }
    PutHistory(entries);
    MakeMnemonicTable(menuHandle, codes);
    Draw(dc, 200 + 34, Row(0), false, menuHandle);
    Draw(dc, 200 + 35, Row(1), false, menuHandle);
    Draw(dc, 200 + 39, Row(2), true, menuHandle);
    auto z = TextsIn(Row(0));
    ASSERT_EQ(z.size(), 2u);
    EXPECT_EQ(z[0].Underlined(), u'Z');
    for (int row : {1, 2}) {
        auto texts = TextsIn(Row(row));
        ASSERT_EQ(texts.size(), 1u) << "row " << row;
        EXPECT_EQ(texts[0].text, u"entry");
        EXPECT_EQ(texts[0].box.left, kWide + 4 + 6) << "the label keeps its place";
    }
    for (const sim::TextRun& t : device.DrawingOf(menuWindow).texts)
        EXPECT_EQ(t.text.find(u'\xFFFF'), std::u16string::npos);
}

TEST_F(DrawItemTest, DrawingGivesBackEveryFontAndHeapBlock) {
    PutHistory({u"one\ttwo", u"three"});
    MakeMnemonicTable(menuHandle, {'1', '2'});
    for (int round = 0; round < 3; ++round) {
        Draw(dc, 200, Row(0), round % 2 == 0, menuHandle);
        Draw(dc, 201, Row(1), round % 2 == 1, menuHandle);
        Draw(dc, IDM_CANCEL, Row(2), false, menuHandle);
    }
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_TRUE(device.GdiMisuses().empty());
    EXPECT_TRUE(device.LiveBlocks(zarvic).empty());
    EXPECT_EQ(device.FontSelectedInto(dc), device.PopupMenuFont());
}

}  // namespace
