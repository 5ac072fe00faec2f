// The history menu fits its labels and sizes its items exactly as the old code did, with one
// measuring call per label and one menu font per menu.
#include <random>
#include <sstream>

#include "core/runtime.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "menu/menu_item.h"
#include "menu/menu_label.h"
#include "menu/menu_tip.h"
#include "menu_draw_oracle.h"
#include "menu_item_fixture.h"
#include "platform/sim/menu.h"

using namespace zarvic_test;

namespace {

// Narrow, wide and full-width characters, tabs, ampersands, line ends, pairs and lone halves.
std::u16string RandomText(std::mt19937& rng, size_t most) {
    static const std::u16string pieces[] = {u"a",  u"abcd", u"W",  u"漢",  u"\t",   u"&",         u" ",
                                            u"\r", u"\n",   u"\r\n", u"\U0001F600", u"\xD83D", u"\xDE00"};
    std::uniform_int_distribution<size_t> length(0, most), piece(0, std::size(pieces) - 1);
    std::u16string text;
    for (size_t n = length(rng); n > 0; --n) text += pieces[piece(rng)];
    return text;
}

std::string Units(const std::u16string& text) {
    std::ostringstream out;
    for (char16_t c : text) out << std::hex << static_cast<int>(c) << ' ';
    return out.str();
}

TEST_F(MenuLookTest, OneMeasuringCallFitsExactlyTheOldLabels) {
    std::mt19937 rng(8);
    std::uniform_int_distribution<int> count(1, 140), width(-5, 600);
    HDC dc = GetDC(nullptr);
    for (int round = 0; round < 4000; ++round) {
        std::u16string text = RandomText(rng, round % 2 ? 12 : 80);
        int n = count(rng), w = width(rng);
        WCHAR now[160], old[160];
        FitTextToWidth(dc, now, text.c_str(), n, w, MENU_LABEL_TAB_SIZE);
        oracle::FitTextToWidth(dc, old, text.c_str(), n, w, MENU_LABEL_TAB_SIZE);
        ASSERT_EQ(Units(now), Units(old)) << Units(text) << "count " << n << " width " << w;
    }
    ReleaseDC(nullptr, dc);
}

std::string Describe(HWND hwnd) {
    std::ostringstream out;
    sim::WindowDrawing d = sim::Device::Current().DrawingOf(hwnd);
    for (const sim::TextRun& t : d.texts)
        out << "text " << Units(t.text) << t.box.left << ',' << t.box.top << ',' << t.box.right << ',' << t.box.bottom
            << " clip " << t.clip.left << ',' << t.clip.top << ',' << t.clip.right << ',' << t.clip.bottom << " colour "
            << t.color << " mode " << t.bkMode << " format " << t.format << " underline " << t.underline << " face "
            << sim::ToUtf8(t.Face()) << '\n';
    for (const sim::FilledRect& f : d.fills)
        out << "fill " << f.rect.left << ',' << f.rect.top << ',' << f.rect.right << ',' << f.rect.bottom << " colour "
            << f.color << '\n';
    return out.str();
}

class SameDrawingTest : public MenuLookTest {
protected:
    // Opens the history menu drawn by the old or the current code and describes the menu
    // and the preview as they are painted, then after each step of the highlight.
    std::string OpenAndWalk(int old) {
        HWND owner = nullptr;
        FreeMenuTipText();  // a fresh tooltip paints the last preview until the next one
        RunInZarvic([&] { owner = oracle::CreateMenuOwner(old); });
        device.ClearCalls();
        RunInZarvic([&] { ShowHistoryMenu(owner, POINT{5, 5}); });
        std::string seen;
        for (int step = 0; step < 12; ++step) {
            auto menu = device.OpenMenu();
            if (!menu) return seen + "closed";
            for (const auto& item : menu->items) {
                seen += "item " + std::to_string(item.rect.bottom) + ' ';
                if (!old) CheckLabel(menu->window, item);
            }
            seen += Describe(menu->window) + "tip\n" + Describe(device.FindWindow(u"Zarvic_MenuTip"));
            device.PressKey(VK_DOWN);
        }
        device.PressKey(VK_ESCAPE);
        return seen;
    }
    size_t CallsOf(const char* name) const { return device.Calls(name, zarvic).size(); }
    // An entry's label stays inside its item: its whole first line as the old code fitted it
    // with room to spare, or a start of it and dots.
    void CheckLabel(HWND menu, const sim::OpenMenuItem& item) {
        if (item.id < IDM_HISTORY_FIRST || item.id > IDM_HISTORY_LAST) return;
        WCHAR whole[MENU_LABEL_UNITS];
        oracle::FitTextToWidth(nullptr, whole, g_historySlots[item.id - IDM_HISTORY_FIRST], MENU_LABEL_UNITS,
                               0x3FFFFFFF, MENU_LABEL_TAB_SIZE);
        for (const sim::TextRun& t : device.DrawingOf(menu).texts) {
            if (t.formatRect.top != item.rect.top || !(t.format & DT_NOPREFIX)) continue;
            EXPECT_LE(t.box.right, item.rect.right) << sim::ToUtf8(t.text);
            std::u16string label = t.text, cut = label.size() >= 3 ? label.substr(0, label.size() - 3) : u"";
            EXPECT_TRUE(label == whole || (label.substr(cut.size()) == u"..." && std::u16string(whole).rfind(cut, 0) == 0))
                << Units(label) << "of " << Units(whole);
        }
    }
};

TEST_F(SameDrawingTest, TheMenuAndItsPreviewLookAsBeforeWithOneFontPerMenu) {
    std::mt19937 rng(9);
    std::vector<std::u16string> entries;
    for (int k = 0; k < 40; ++k) entries.push_back(RandomText(rng, 40) + u"x");
    PutHistory(entries);
    g_settings.showToolTip = 1;
    std::string old = OpenAndWalk(1);
    EXPECT_GT(CallsOf("CreateFontIndirectW"), 40u) << "the old code makes a font per item";
    std::string now = OpenAndWalk(0);
    EXPECT_EQ(now, old);
    EXPECT_EQ(CallsOf("CreateFontIndirectW"), 1u);
    EXPECT_EQ(CallsOf("RegOpenKeyExW"), 1u);
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
}

}  // namespace
