// The device's GDI as programs rely on it: fonts and their accounting, text metrics from
// the font model, DrawTextW's layout, filling, colours, and what a window shows.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/sim/dc.h"
#include "platform/sim/device.h"
#include "platform/sim/font_model.h"
#include "platform/sim/gdi.h"
#include "platform/sim/registry.h"
#include "platform/sim/sim_api.h"

namespace {

// The test itself draws (as program 0) into a plain window, in a font of known sizes:
// 10 pixels a narrow character, 15 a wide one, 20 a full-width one, lines of 20.
class GdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::FontModel model{20, 16, 4, 10, 15, 20};
        device.SetFontModel(u"Test Face", 0, model);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = u"Plain";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"Plain", u"", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
        dc = GetDC(window);
        LOGFONTW lf{};
        lf.lfHeight = -16;
        lf.lfWeight = FW_BOLD;
        std::memcpy(lf.lfFaceName, u"Test Face", sizeof(u"Test Face"));
        font = CreateFontIndirectW(&lf);
    }
    void TearDown() override { ReleaseDC(window, dc); }
    std::vector<sim::TextRun> Texts() const { return device.DrawingOf(window).texts; }
    void Draw(const char16_t* text, RECT r, UINT format) {
        device.ClearDrawing(window);
        DrawTextW(dc, text, -1, &r, format);
    }

    sim::Device device;
    HWND window = nullptr;
    HDC dc = nullptr;
    HFONT font = nullptr;
};

TEST_F(GdiTest, FontsAreAccountedAndMisuseIsReported) {
    LOGFONTW back{};
    EXPECT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(sim::FaceOf(back), u"Test Face");
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT)) << "a fresh context carries the system font";
    ASSERT_EQ(device.LiveGdiObjects(0).size(), 1u);

    EXPECT_TRUE(DeleteObject(font));
    ASSERT_EQ(device.GdiMisuses().size(), 1u) << "deleted while selected";
    EXPECT_EQ(device.LiveGdiObjects(0).size(), 1u) << "still in use by the context";
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(device.LiveGdiObjects(0).empty()) << "freed once let go";
    EXPECT_EQ(SelectObject(dc, font), nullptr);
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(device.GdiMisuses().size(), 3u);
    EXPECT_TRUE(DeleteObject(GetStockObject(SYSTEM_FONT))) << "stock objects stay, harmlessly";

    HDC other = GetDC(window);
    EXPECT_EQ(device.OpenDeviceContexts(0), 2u);
    ReleaseDC(window, other);
    EXPECT_EQ(ReleaseDC(window, other), 0);
    EXPECT_EQ(device.OpenDeviceContexts(0), 1u);
}

TEST_F(GdiTest, MetricsAndExtentsFollowTheFontModel) {
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, 16) << "the device's system font";
    SelectObject(dc, font);
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmExternalLeading, 4);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);

    SIZE size{};
    int fit = -1, dx[5] = {};
    const char16_t text[] = u"aW漢ｱ%";  // narrow, wide, full-width, half-width kana, wide
    ASSERT_TRUE(GetTextExtentExPointW(dc, text, 5, 40, &fit, dx, &size));
    EXPECT_EQ(size.cx, 70);
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(fit, 2) << "25 fit in 40, 45 do not";
    EXPECT_EQ(dx[1], 25);
    ASSERT_TRUE(GetTextExtentExPointW(dc, text, 0, 0, nullptr, nullptr, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_FALSE(GetTextExtentExPointW(dc, text, -1, 0, nullptr, nullptr, &size));
}

TEST_F(GdiTest, DrawTextResolvesPrefixesAndBreaksLinesOnlyAtLineBreaks) {
    SelectObject(dc, font);
    Draw(u"&File && &Edit", RECT{0, 0, 200, 30}, DT_SINGLELINE);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, u"File & Edit");
    EXPECT_EQ(Texts()[0].Underlined(), u'E');
    EXPECT_EQ(Texts()[0].Face(), u"Test Face");
    Draw(u"&File", RECT{0, 0, 200, 30}, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Texts()[0].text, u"&File");
    EXPECT_EQ(Texts()[0].underline, -1);

    Draw(u"abc", RECT{10, 10, 110, 50}, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_EQ(Texts()[0].box.left, 10 + (100 - 30) / 2);
    EXPECT_EQ(Texts()[0].box.top, 10 + (40 - 20) / 2);
    Draw(u"one\r\ntwo\nthree\rfour, a long line that is not wrapped", RECT{10, 10, 110, 50}, DT_VCENTER);
    ASSERT_EQ(Texts().size(), 4u);
    EXPECT_EQ(Texts()[0].box.top, 10) << "DT_VCENTER needs DT_SINGLELINE";
    EXPECT_EQ(Texts()[2].box.top, 50);
    Draw(u"one\r\ntwo", RECT{0, 0, 200, 30}, DT_SINGLELINE);
    EXPECT_EQ(Texts().size(), 1u);

    RECT calc{0, 0, 0, 0};
    EXPECT_EQ(DrawTextW(dc, u"ab\r\nabcd", -1, &calc, DT_CALCRECT), 40);
    EXPECT_EQ(calc.right, 40);
    EXPECT_EQ(Texts().size(), 1u) << "measuring draws nothing";
}

TEST_F(GdiTest, TextIsClippedToItsRectangleUnlessToldNotToAndAlwaysToTheWindow) {
    SelectObject(dc, font);
    Draw(u"abcdef", RECT{0, 0, 35, 20}, DT_SINGLELINE);
    EXPECT_EQ(Texts()[0].visible, u"abcd") << "the fourth shows in part";
    Draw(u"abcdef", RECT{0, 0, 35, 20}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(Texts()[0].visible, u"abcdef");
    Draw(u"abcdefgh", RECT{150, 0, 400, 20}, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(Texts()[0].visible, u"abcde");
}

TEST_F(GdiTest, FillingCoversWhatLiesWhollyBeneathInTheColoursOfTheScheme) {
    RECT top{0, 0, 200, 20}, all{0, 0, 200, 100}, part{0, 0, 20, 20}, outside{-50, -50, 500, 500};
    DrawTextW(dc, u"under", -1, &top, DT_SINGLELINE);
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Texts().size(), 1u) << "only partly covered";
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW | SYS_COLOR_INDEX_FLAG));
    EXPECT_TRUE(Texts().empty());
    FillRect(dc, &outside, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    auto fills = device.DrawingOf(window).fills;
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect.right, 200) << "within the client area";
    EXPECT_EQ(fills[0].color, RGB(0, 0, 128));

    EXPECT_EQ(GetSysColor(COLOR_INFOBK | SYS_COLOR_INDEX_FLAG), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128)) << "the device masks the flag off";
    EXPECT_EQ(GetSysColor(99 | SYS_COLOR_INDEX_FLAG), 0u);
    EXPECT_EQ(GetSysColorBrush(99), nullptr);
    HBRUSH menu = GetSysColorBrush(COLOR_MENU | SYS_COLOR_INDEX_FLAG);
    device.SetSysColorValue(COLOR_MENU, RGB(1, 2, 3));
    FillRect(dc, &part, menu);
    EXPECT_EQ(device.DrawingOf(window).fills.back().color, RGB(1, 2, 3)) << "the colour as it is now";
}

TEST_F(GdiTest, AMenuWindowsContextCarriesThePopupMenuFontOfACompleteRecord) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"MNU";
    RegisterClassW(&wc);
    HWND menu = CreateWindowExW(0, u"MNU", u"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    auto faceIn = [&](HWND hwnd) {
        HDC menuDc = GetDC(hwnd);
        LOGFONTW lf{};
        GetObjectW(device.FontSelectedInto(menuDc), sizeof lf, &lf);
        ReleaseDC(hwnd, menuDc);
        return sim::FaceOf(lf);
    };
    EXPECT_EQ(faceIn(menu), u"System");
    const std::u16string key = u"System\\GWE\\Menu\\PopFnt";
    for (const char16_t* name : {u"Ht", u"Wt", u"It", u"CS"}) device.SetRegistryDword(key, name, 0);
    EXPECT_EQ(faceIn(menu), u"System") << "an incomplete record counts for nothing";
    device.SetRegistryString(key, u"Nm", u"Test Face");
    EXPECT_EQ(faceIn(menu), u"Test Face");
    EXPECT_EQ(faceIn(window), u"System") << "other windows keep the system font";
    EXPECT_EQ(device.LiveGdiObjects(0).size(), 1u) << "the menu font is the device's own";
}

TEST_F(GdiTest, PaintingErasesWithTheClassBrushAndGivesItsContextBack) {
    ShowWindow(window, SW_SHOWNA);
    RECT r{0, 0, 100, 20};
    DrawTextW(dc, u"old", -1, &r, 0);
    PAINTSTRUCT ps{};
    HDC paint = BeginPaint(window, &ps);
    ASSERT_NE(paint, nullptr);
    EXPECT_FALSE(ps.fErase) << "erased by the default processing";
    EXPECT_TRUE(Texts().empty());
    EXPECT_EQ(device.DrawingOf(window).fills.at(0).color, RGB(255, 255, 255));
    EXPECT_EQ(ReleaseDC(window, paint), 0) << "a painting context goes back through EndPaint";
    EXPECT_TRUE(EndPaint(window, &ps));
    EXPECT_EQ(device.OpenDeviceContexts(0), 1u);
}

}  // namespace
