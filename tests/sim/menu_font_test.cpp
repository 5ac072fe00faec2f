// The menu font: the popup-menu font of the registry taken whole or not at all, and the
// measurements built on it.
#include <cstring>

#include "menu/menu_font.h"
#include "menu_item_fixture.h"
#include "platform/sim/dc.h"
#include "platform/sim/registry.h"

using namespace zarvic_test;

namespace {

class MenuFontTest : public MenuLookTest {};

std::vector<uint8_t> Bytes(const std::u16string& text, bool terminated) {
    std::vector<uint8_t> bytes((text.size() + (terminated ? 1 : 0)) * 2, 0);
    std::memcpy(bytes.data(), text.data(), text.size() * 2);
    return bytes;
}

}  // namespace

TEST_F(MenuFontTest, TheRegistryRecordMakesTheFontAndNothingElseOfItsFields) {
    SetPopupFont(u"Menu Gothic", -16, 700, 0x101, 0x180);
    LOGFONTW lf{};
    RunInZarvic([&] {
        HFONT font = CreateMenuFont();
        GetObjectW(font, sizeof lf, &lf);
        DeleteObject(font);
    });
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_EQ(lf.lfItalic, 1) << "the lowest byte of It";
    EXPECT_EQ(lf.lfCharSet, 0x80) << "the lowest byte of CS";
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"Menu Gothic");
    EXPECT_EQ(lf.lfWidth, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
    EXPECT_EQ(lf.lfUnderline, 0);
    EXPECT_EQ(lf.lfOutPrecision, 0);
    EXPECT_EQ(lf.lfQuality, 0);
    EXPECT_EQ(lf.lfPitchAndFamily, 0);
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(device.OpenRegistryKeys(), 0u);
}

// Each way the record can be incomplete; the font is then the system font, whole.
struct Incomplete {
    const char* name;
    std::function<void()> spoil;
};

class IncompleteRecordTest : public MenuLookTest, public ::testing::WithParamInterface<Incomplete> {};

TEST_P(IncompleteRecordTest, GivesTheWholeSystemFont) {
    GetParam().spoil();
    LOGFONTW menu{}, system{};
    RunInZarvic([&] {
        HFONT font = CreateMenuFont();
        GetObjectW(font, sizeof menu, &menu);
        DeleteObject(font);
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    });
    EXPECT_EQ(std::memcmp(&menu, &system, sizeof menu), 0)
        << "got face " << sim::ToUtf8(sim::FaceOf(menu)) << " height " << menu.lfHeight;
    EXPECT_EQ(device.OpenRegistryKeys(), 0u);
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
}

INSTANTIATE_TEST_SUITE_P(
    MenuFont, IncompleteRecordTest,
    ::testing::Values(
        Incomplete{"NoKey", [] { sim::Device::Current().DeleteRegistryKey(kPopupFontKey); }},
        Incomplete{"NoName",
                   [] {
                       sim::Device::Current().DeleteRegistryKey(kPopupFontKey);
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"Ht", static_cast<DWORD>(-16));
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"Wt", 700);
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"It", 1);
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"CS", 128);
                   }},
        Incomplete{"NoWeight",
                   [] {
                       sim::Device::Current().DeleteRegistryKey(kPopupFontKey);
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"Ht", static_cast<DWORD>(-16));
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"It", 1);
                       sim::Device::Current().SetRegistryDword(kPopupFontKey, u"CS", 128);
                       sim::Device::Current().SetRegistryString(kPopupFontKey, u"Nm", u"Menu Gothic");
                   }},
        Incomplete{"NameOf32Characters",
                   [] { SetPopupFont(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", -16, 700, 1); }},
        // 64 bytes fit the buffer but leave no room for the terminator
        Incomplete{"UnterminatedNameFillingTheBuffer",
                   [] {
                       SetPopupFont(u"Menu Gothic", -16, 700, 1);
                       sim::Device::Current().SetRegistryValue(kPopupFontKey, u"Nm", REG_BINARY,
                                                               Bytes(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", false));
                   }},
        Incomplete{"HeightOf8Bytes",
                   [] {
                       SetPopupFont(u"Menu Gothic", -16, 700, 1);
                       sim::Device::Current().SetRegistryValue(kPopupFontKey, u"Ht", REG_BINARY, {0xF0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0});
                   }},
        Incomplete{"CharSetOf5Bytes",
                   [] {
                       SetPopupFont(u"Menu Gothic", -16, 700, 1);
                       sim::Device::Current().SetRegistryValue(kPopupFontKey, u"CS", REG_BINARY, {128, 0, 0, 0, 0});
                   }}),
    [](const ::testing::TestParamInfo<Incomplete>& info) { return info.param.name; });

TEST_F(MenuFontTest, ANameOf31CharactersAndShortNumbersAreStillARecord) {
    SetPopupFont(u"Menu Gothic", -16, 700, 1);
    // Each shorter than the buffer it is read into: the name without its terminator.
    device.SetRegistryValue(kPopupFontKey, u"Nm", REG_BINARY, Bytes(u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", false));
    device.SetRegistryValue(kPopupFontKey, u"Wt", REG_BINARY, {0x90, 0x01});  // 400 in two bytes
    LOGFONTW lf{};
    RunInZarvic([&] {
        HFONT font = CreateMenuFont();
        lf = LogFontOf(font);
        DeleteObject(font);
    });
    EXPECT_EQ(std::u16string(lf.lfFaceName), u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(lf.lfWeight, 400);
    EXPECT_EQ(lf.lfHeight, -16);
}

TEST_F(MenuFontTest, ValuesOfNoBytesAreReadWithoutHarm) {
    SetPopupFont(u"Menu Gothic", -16, 700, 1);
    device.SetRegistryValue(kPopupFontKey, u"Nm", REG_SZ, {});
    device.SetRegistryValue(kPopupFontKey, u"It", REG_DWORD, {});
    RunInZarvic([&] { DeleteObject(CreateMenuFont()); });
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    LOGFONTW own = device.PopupMenuLogFont();  // the device's own menus: zero and no name
    EXPECT_EQ(own.lfFaceName[0], 0);
    EXPECT_EQ(own.lfItalic, 0);
    EXPECT_EQ(own.lfHeight, -16);
}

TEST_F(MenuFontTest, AnAbsurdHeightIsMeasuredAsTheTallestFont) {
    int width = -1;
    for (LONG height : {static_cast<LONG>(0x80000000u), 0x7FFFFFFF}) {
        SetPopupFont(u"Unmodelled", height, 700, 0);  // no model of its own: measured by its height
        RunInZarvic([&] { width = GetMenuTextWidth(MainWindow(), u"AAAA"); });
        EXPECT_EQ(width, 4 * 8192) << height;
    }
}

TEST_F(MenuFontTest, AChangedRecordCountsAtTheNextMeasurement) {
    int before = 0, after = 0;
    RunInZarvic([&] { before = GetMenuTextWidth(MainWindow(), u"AAAA"); });
    device.DeleteRegistryKey(kPopupFontKey);
    RunInZarvic([&] { after = GetMenuTextWidth(MainWindow(), u"AAAA"); });
    EXPECT_EQ(before, 4 * kNarrow);
    EXPECT_EQ(after, 4 * 7) << "the system font's narrow advance";
}

TEST_F(MenuFontTest, TextWidthIsMeasuredInTheMenuFontAndGivesEverythingBack) {
    int wide = 0, mixed = 0, empty = 0, none = 0, gone = 0;
    RunInZarvic([&] {
        wide = GetMenuTextWidth(MainWindow(), u"W");
        mixed = GetMenuTextWidth(MainWindow(), u"Wa漢");
        empty = GetMenuTextWidth(MainWindow(), u"");
        none = GetMenuTextWidth(MainWindow(), nullptr);
        gone = GetMenuTextWidth(reinterpret_cast<HWND>(0x4242), u"abc");
    });
    EXPECT_EQ(wide, kWide);
    EXPECT_EQ(mixed, kWide + kNarrow + kFullWidth);
    EXPECT_EQ(empty, 0);
    EXPECT_EQ(none, 0);
    EXPECT_EQ(gone, 0) << "no context for a window that does not exist";
    EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
    EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
    EXPECT_EQ(device.OpenRegistryKeys(), 0u);
    EXPECT_TRUE(device.GdiMisuses(zarvic).empty());
}

// Lines per screen come from the work area and the default font of the window's context,
// not the menu font.
struct LinesCase {
    LONG height, leading;
    int expected;
};

class LinesPerScreenTest : public MenuLookTest, public ::testing::WithParamInterface<LinesCase> {};

TEST_P(LinesPerScreenTest, DividesTheScreenHeight) {
    sim::FontModel system;
    system.height = GetParam().height;
    system.externalLeading = GetParam().leading;
    device.SetFontModel(u"System", 0, system);
    int lines = -1;
    RunInZarvic([&] { lines = GetMenuLinesPerScreen(MainWindow()); });
    EXPECT_EQ(lines, GetParam().expected);
    EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
}

INSTANTIATE_TEST_SUITE_P(MenuFont, LinesPerScreenTest,
                         // the work area above the taskbar: 454 pixels
                         ::testing::Values(LinesCase{14, 2, 26},    // 454 / 16 = 28
                                           LinesCase{20, 4, 16},    // 454 / 24 = 18
                                           LinesCase{100, 10, 2},   // 4 lines: less 2
                                           LinesCase{150, 10, 2},   // 2 lines: unchanged
                                           LinesCase{400, 100, 0},  // none fits
                                           // no line height: every entry is kept rather than
                                           // dividing by zero
                                           LinesCase{0, 0, 452}),
                         [](const ::testing::TestParamInfo<LinesCase>& info) {
                             return "Height" + std::to_string(info.param.height) + "Leading" +
                                    std::to_string(info.param.leading);
                         });
