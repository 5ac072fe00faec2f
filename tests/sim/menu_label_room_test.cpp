// Labels stay inside their items at every resolution: measured as they are drawn, drawn in
// the font they were measured in, their dots within the item; and a menu that opens has no
// more rows than the work area of its screen holds.
#include "core/runtime.h"
#include "core/settings.h"
#include "history_menu_fixture.h"
#include "menu/history_menu.h"
#include "menu/menu_font.h"
#include "menu_item_fixture.h"
#include "platform/sim/monitors.h"

using namespace zarvic_test;

namespace {

// The test menu font as a screen of dpi scales it.
void UseTestMenuFontAt(UINT dpi) {
    auto scale = [dpi](LONG v) { return static_cast<int>(v * static_cast<LONG>(dpi) / 96); };
    sim::FontModel model;
    model.height = scale(kLineHeight);
    model.ascent = scale(16);
    model.externalLeading = scale(kLeading);
    model.narrow = scale(kNarrow);
    model.wide = scale(kWide);
    model.fullWidth = scale(kFullWidth);
    sim::Device::Current().SetFontModel(kMenuFace, scale(kMenuFontHeight), model);
}

std::vector<sim::TextRun> TextsIn(HWND window, const RECT& row) {
    std::vector<sim::TextRun> out;
    for (const sim::TextRun& t : sim::Device::Current().DrawingOf(window).texts)
        if ((t.box.top + t.box.bottom) / 2 >= row.top && (t.box.top + t.box.bottom) / 2 < row.bottom) out.push_back(t);
    return out;
}

const std::u16string kEntries[] = {u"an entry of the history", u"\t\t\tx", u"a\tb", u"漢字の入った長い項目です",
                                   u"WWWWWWWWWWWWWWWWWWWW"};

}  // namespace

// Each item measured, then drawn in a row exactly as wide as measured, into a context that
// carries another font (the device's popup font at 96 DPI).
TEST_F(MenuLookTest, EachLabelIsDrawnInsideItsMeasuredWidthInTheFontItWasMeasuredIn) {
    g_settings.showToolTip = 0;
    HWND window = MakeMenuWindow(RECT{0, 0, 600, 400});
    HDC dc = GetDC(window);
    PutHistory(std::vector<std::u16string>(std::begin(kEntries), std::end(kEntries)));
    MakeMnemonicTable(menuHandle, {'1', '2', '3', '4', '5'});
    LONG y = 0;
    for (UINT dpi : {96u, 144u}) {
        UseTestMenuFontAt(dpi);
        g_menuDpi = dpi;
        g_maxItemWidth = 16 * kNarrow * static_cast<int>(dpi) / 96;
        g_mnemonicColumnWidth = kWide * static_cast<int>(dpi) / 96 + 4 * static_cast<int>(dpi) / 96;
        for (UINT id : {200u, 201u, 202u, 203u, 204u, static_cast<UINT>(IDM_CLEAR), static_cast<UINT>(IDM_CANCEL)}) {
            MEASUREITEMSTRUCT m = Measure(id);
            RECT row{0, y, static_cast<LONG>(m.itemWidth), y + static_cast<LONG>(m.itemHeight)};
            y = row.bottom;
            Draw(dc, id, row, false, menuHandle);
            auto texts = TextsIn(window, row);
            ASSERT_FALSE(texts.empty()) << id;
            for (const sim::TextRun& t : texts) {
                EXPECT_LE(t.box.right, row.right) << dpi << " DPI, item " << id << ": " << sim::ToUtf8(t.text);
                EXPECT_EQ(t.font.lfHeight, kMenuFontHeight * static_cast<LONG>(dpi) / 96)
                    << dpi << " DPI, item " << id << ": drawn in the font it was measured in";
            }
        }
    }
    g_menuDpi = SCREEN_DEFAULT_DPI;
    ReleaseDC(window, dc);
}

// The history menu as the person sees it: on the device's screen and on a 144-DPI one, its
// labels stay in their items and its rows fit above the taskbar.
TEST_F(HistoryMenuTest, OnEveryScreenTheMenuKeepsItsLabelsInItsItemsAndItsRowsInTheWorkArea) {
    UseTestMenuFont();
    UseTestMenuFontAt(144);
    StartWithToolTip(false);
    CaptureEntries(40);
    for (const std::u16string& text : kEntries) {
        CopyInEditor(text);
        Tick();
    }
    const sim::Monitor high{{0, 0, 800, 480}, {0, 0, 800, 454}, 144};
    for (UINT dpi : {96u, 144u}) {
        if (dpi == 144) device.SetMonitors({high});
        PressMenuHotKey();
        ASSERT_TRUE(MenuIsOpen()) << dpi << " DPI";
        sim::OpenMenuInfo menu = Menu();
        EXPECT_LE(menu.rect.bottom - menu.rect.top, 454) << dpi << " DPI: no row behind the taskbar";
        for (const sim::OpenMenuItem& item : menu.items) {
            if (!(item.flags & MF_OWNERDRAW)) continue;
            for (const sim::TextRun& t : TextsIn(menu.window, item.rect)) {
                EXPECT_LE(t.box.right, item.rect.right) << dpi << " DPI: " << sim::ToUtf8(t.text);
                EXPECT_EQ(t.font.lfHeight, kMenuFontHeight * static_cast<LONG>(dpi) / 96) << dpi << " DPI";
            }
        }
        device.PressKey(VK_ESCAPE);
        ASSERT_FALSE(MenuIsOpen());
    }
}
