// The device's GDI as programs rely on it: fonts and their accounting, text metrics from
// the font model, DrawTextW's layout, filling, colours, and what a window shows.
#include "platform/sim/dc.h"
#include "platform/sim/device.h"
#include "platform/sim/font_model.h"
#include "platform/sim/gdi.h"
#include "platform/sim/registry.h"
#include "platform/sim/sim_api.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The test itself draws (as program 0) into a plain window and into a popup menu window.
class GdiTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim::FontModel model;
        model.height = 20;
        model.ascent = 16;
        model.externalLeading = 4;
        model.narrow = 10;
        model.wide = 15;
        model.fullWidth = 20;
        sim::SetFontModel(u"Test Face", 0, model);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        wc.lpszClassName = u"Plain";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, u"Plain", u"", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
        dc = GetDC(window);
    }
    void TearDown() override { ReleaseDC(window, dc); }

    static LOGFONTW Font(const std::u16string& face, LONG height) {
        LOGFONTW lf{};
        lf.lfHeight = height;
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = SHIFTJIS_CHARSET;
        std::memcpy(lf.lfFaceName, face.c_str(), (face.size() + 1) * 2);
        return lf;
    }
    HFONT SelectTestFont() {
        LOGFONTW lf = Font(u"Test Face", -16);
        HFONT font = CreateFontIndirectW(&lf);
        SelectObject(dc, font);
        return font;
    }
    std::vector<sim::TextRun> Texts() const { return sim::DrawingOf(window).texts; }

    sim::Device device;
    HWND window = nullptr;
    HDC dc = nullptr;
};

// ---- fonts ----

TEST_F(GdiTest, AFontKeepsItsRecordAndIsOnRecordUntilDeleted) {
    LOGFONTW lf = Font(u"Test Face", -16), back{};
    HFONT font = CreateFontIndirectW(&lf);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
    EXPECT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(std::memcmp(&lf, &back, sizeof lf), 0);
    ASSERT_EQ(sim::LiveGdiObjects(0).size(), 1u);

    HGDIOBJ system = SelectObject(dc, font);
    EXPECT_EQ(system, GetStockObject(SYSTEM_FONT)) << "a fresh context carries the system font";
    EXPECT_EQ(SelectObject(dc, system), font);
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(sim::LiveGdiObjects(0).empty());
    EXPECT_TRUE(sim::GdiMisuses().empty());
    EXPECT_TRUE(DeleteObject(GetStockObject(SYSTEM_FONT))) << "stock objects stay, harmlessly";
    EXPECT_NE(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof back, &back), 0);
    EXPECT_EQ(sim::FaceOf(back), u"System");
}

TEST_F(GdiTest, DeletingAFontStillSelectedIsReportedAndItGoesWhenLetGo) {
    HFONT font = SelectTestFont();
    EXPECT_TRUE(DeleteObject(font));
    ASSERT_EQ(sim::GdiMisuses().size(), 1u);
    EXPECT_EQ(sim::GdiMisuses()[0].handle, font);
    EXPECT_EQ(sim::LiveGdiObjects(0).size(), 1u) << "still in use by the context";
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    EXPECT_TRUE(sim::LiveGdiObjects(0).empty());
    EXPECT_EQ(SelectObject(dc, font), nullptr) << "gone now";
    EXPECT_FALSE(DeleteObject(font));
    EXPECT_EQ(sim::GdiMisuses().size(), 3u);
}

TEST_F(GdiTest, ALeakedFontAndAContextNotReleasedShow) {
    HFONT font = SelectTestFont();
    HDC other = GetDC(window);
    EXPECT_EQ(sim::OpenDeviceContexts(0), 2u);
    ReleaseDC(window, other);
    EXPECT_EQ(sim::OpenDeviceContexts(0), 1u);
    EXPECT_EQ(ReleaseDC(window, other), 0) << "released twice";
    EXPECT_EQ(sim::GdiMisuses().size(), 1u);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    ASSERT_EQ(sim::LiveGdiObjects(0).size(), 1u);
    EXPECT_EQ(sim::LiveGdiObjects(0)[0].first, font);
    DeleteObject(font);
}

TEST_F(GdiTest, FontCreationCanBeMadeToFail) {
    LOGFONTW lf = Font(u"Test Face", -16);
    sim::FailFontCreation();
    EXPECT_EQ(CreateFontIndirectW(&lf), nullptr);
    HFONT font = CreateFontIndirectW(&lf);
    EXPECT_NE(font, nullptr);
    DeleteObject(font);
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

// ---- metrics and extents ----

TEST_F(GdiTest, MetricsAndExtentsFollowTheFontModel) {
    TEXTMETRICW tm{};
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight + tm.tmExternalLeading, 16) << "the device's system font";
    HFONT font = SelectTestFont();
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    EXPECT_EQ(tm.tmHeight, 20);
    EXPECT_EQ(tm.tmExternalLeading, 4);
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, 20);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    EXPECT_EQ(tm.tmCharSet, SHIFTJIS_CHARSET);

    SIZE size{};
    int fit = -1, dx[6] = {};
    const char16_t text[] = u"aW漢ｱ%";  // narrow, wide, full-width, half-width kana, wide
    ASSERT_TRUE(GetTextExtentExPointW(dc, text, 5, 40, &fit, dx, &size));
    EXPECT_EQ(size.cx, 10 + 15 + 20 + 10 + 15);
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(fit, 2) << "25 fit in 40, 45 do not";
    EXPECT_EQ(dx[0], 10);
    EXPECT_EQ(dx[1], 25);
    ASSERT_TRUE(GetTextExtentExPointW(dc, text, 5, 0, nullptr, dx, &size));
    EXPECT_EQ(dx[4], 70) << "every partial extent without a fit";
    ASSERT_TRUE(GetTextExtentExPointW(dc, text, 0, 0, nullptr, nullptr, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_FALSE(GetTextExtentExPointW(dc, text, -1, 0, nullptr, nullptr, &size));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiTest, AModelPerHeightComesBeforeTheFacesOwn) {
    sim::FontModel big;
    big.height = 40;
    sim::SetFontModel(u"test face", -30, big);
    LOGFONTW lf = Font(u"TEST FACE", -30);
    EXPECT_EQ(sim::ModelOf(lf).height, 40);
    lf.lfHeight = -12;
    EXPECT_EQ(sim::ModelOf(lf).height, 20);
    LOGFONTW unknown = Font(u"Nowhere", -24);
    EXPECT_EQ(sim::ModelOf(unknown).height, 24) << "derived from the height";
}

// ---- DrawTextW ----

TEST_F(GdiTest, APrefixUnderlinesTheNextCharacterAndADoubleOneShowsItself) {
    HFONT font = SelectTestFont();
    RECT r{0, 0, 200, 30};
    DrawTextW(dc, u"&File && &Edit", -1, &r, DT_SINGLELINE);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, u"File & Edit");
    EXPECT_EQ(Texts()[0].Underlined(), u'E') << "the last prefix underlines";
    EXPECT_EQ(Texts()[0].underline, 7);
    sim::ClearDrawing(window);
    DrawTextW(dc, u"&File", -1, &r, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(Texts()[0].text, u"&File");
    EXPECT_EQ(Texts()[0].underline, -1);
    EXPECT_EQ(Texts()[0].Face(), u"Test Face");
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiTest, SingleLinesCentreAndMultipleLinesBreakOnlyAtLineBreaks) {
    HFONT font = SelectTestFont();
    RECT r{10, 10, 110, 50};
    int height = DrawTextW(dc, u"abc", -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].box.left, 10 + (100 - 30) / 2);
    EXPECT_EQ(Texts()[0].box.top, 10 + (40 - 20) / 2);
    EXPECT_EQ(height, 30) << "offset of the text's bottom from the top";

    sim::ClearDrawing(window);
    height = DrawTextW(dc, u"one\r\ntwo\nthree\rfour a very long line that is not wrapped", -1, &r, DT_VCENTER);
    ASSERT_EQ(Texts().size(), 4u);
    EXPECT_EQ(Texts()[0].box.top, 10) << "DT_VCENTER needs DT_SINGLELINE";
    EXPECT_EQ(Texts()[1].text, u"two");
    EXPECT_EQ(Texts()[2].box.top, 50);
    EXPECT_EQ(Texts()[3].text, u"four a very long line that is not wrapped");
    EXPECT_EQ(height, 80);

    sim::ClearDrawing(window);
    DrawTextW(dc, u"one\r\ntwo", -1, &r, DT_SINGLELINE);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].text, u"one\r\ntwo");

    RECT calc{0, 0, 0, 0};
    EXPECT_EQ(DrawTextW(dc, u"ab\r\nabcd", -1, &calc, DT_CALCRECT), 40);
    EXPECT_EQ(calc.right, 40);
    EXPECT_EQ(calc.bottom, 40);
    EXPECT_EQ(Texts().size(), 1u) << "measuring draws nothing";
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiTest, TextIsClippedToItsRectangleUnlessToldNotTo) {
    HFONT font = SelectTestFont();
    RECT r{0, 0, 35, 20};
    DrawTextW(dc, u"abcdef", -1, &r, DT_SINGLELINE);
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_EQ(Texts()[0].visible, u"abcd") << "the fourth shows in part";
    sim::ClearDrawing(window);
    DrawTextW(dc, u"abcdef", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(Texts()[0].visible, u"abcdef");
    sim::ClearDrawing(window);
    r = RECT{150, 0, 400, 20};
    DrawTextW(dc, u"abcdefgh", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(Texts()[0].visible, u"abcde") << "never beyond the window's client area";
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

// ---- filling and colours ----

TEST_F(GdiTest, FillingCoversWhatLiesWhollyBeneath) {
    RECT top{0, 0, 200, 20}, all{0, 0, 200, 100}, part{0, 0, 20, 20};
    DrawTextW(dc, u"under", -1, &top, DT_SINGLELINE);
    FillRect(dc, &part, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Texts().size(), 1u) << "only partly covered";
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW | SYS_COLOR_INDEX_FLAG));
    EXPECT_TRUE(Texts().empty());
    auto fills = sim::DrawingOf(window).fills;
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, RGB(255, 255, 255));
    RECT outside{-50, -50, 500, 500};
    FillRect(dc, &outside, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1));
    fills = sim::DrawingOf(window).fills;
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect.right, 200) << "within the client area";
    EXPECT_EQ(fills[0].color, RGB(0, 0, 128));
}

TEST_F(GdiTest, SystemColoursAnswerWithOrWithoutTheIndexFlag) {
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG), RGB(0, 0, 128));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128)) << "the device masks the flag off";
    EXPECT_EQ(GetSysColor(COLOR_INFOBK | SYS_COLOR_INDEX_FLAG), RGB(255, 255, 225));
    EXPECT_EQ(GetSysColor(99 | SYS_COLOR_INDEX_FLAG), 0u);
    EXPECT_EQ(GetSysColorBrush(99), nullptr);
    HBRUSH menu = GetSysColorBrush(COLOR_MENU | SYS_COLOR_INDEX_FLAG);
    sim::SetSysColorValue(COLOR_MENU, RGB(1, 2, 3));
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, menu);
    EXPECT_EQ(sim::DrawingOf(window).fills.at(0).color, RGB(1, 2, 3)) << "a system brush paints the colour as it is now";
    EXPECT_EQ(device.Calls("GetSysColor").at(0).args[0], COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG);
}

TEST_F(GdiTest, TextColourAndBackgroundModeAreTheContextsOwn) {
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(dc, RGB(9, 9, 9)), RGB(0, 0, 0));
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    RECT r{0, 0, 100, 20};
    DrawTextW(dc, u"x", -1, &r, 0);
    EXPECT_EQ(Texts().at(0).color, RGB(9, 9, 9));
    EXPECT_EQ(Texts().at(0).bkMode, TRANSPARENT);
    HDC fresh = GetDC(window);
    EXPECT_EQ(GetTextColor(fresh), RGB(0, 0, 0));
    ReleaseDC(window, fresh);
}

// ---- the popup-menu font and painting ----

TEST_F(GdiTest, APopupMenuWindowsContextCarriesThePopupMenuFontOfTheRegistry) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"MNU";
    RegisterClassW(&wc);
    HWND menu = CreateWindowExW(0, u"MNU", u"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    auto faceIn = [&](HWND hwnd) {
        HDC menuDc = GetDC(hwnd);
        LOGFONTW lf{};
        GetObjectW(sim::FindDc(menuDc)->font, sizeof lf, &lf);
        COLORREF text = GetTextColor(menuDc);
        ReleaseDC(hwnd, menuDc);
        return std::make_pair(sim::FaceOf(lf), text);
    };
    EXPECT_EQ(faceIn(menu).first, u"System") << "no record: the system font";
    const std::u16string key = u"System\\GWE\\Menu\\PopFnt";
    sim::SetRegistryDword(key, u"Ht", static_cast<DWORD>(-16));
    sim::SetRegistryDword(key, u"Wt", 400);
    sim::SetRegistryDword(key, u"It", 0);
    sim::SetRegistryDword(key, u"CS", 128);
    EXPECT_EQ(faceIn(menu).first, u"System") << "an incomplete record counts for nothing";
    sim::SetRegistryString(key, u"Nm", u"Test Face");
    EXPECT_EQ(faceIn(menu).first, u"Test Face");
    EXPECT_EQ(faceIn(menu).second, GetSysColor(COLOR_MENUTEXT));
    EXPECT_EQ(faceIn(window).first, u"System") << "other windows keep the system font";
    EXPECT_TRUE(sim::LiveGdiObjects(0).empty()) << "the menu font is the device's own";
}

TEST_F(GdiTest, PaintingErasesWithTheClassBrushAndGivesItsContextBack) {
    ShowWindow(window, SW_SHOWNA);
    RECT r{0, 0, 100, 20};
    DrawTextW(dc, u"old", -1, &r, 0);
    PAINTSTRUCT ps{};
    HDC paint = BeginPaint(window, &ps);
    ASSERT_NE(paint, nullptr);
    EXPECT_FALSE(ps.fErase) << "erased by the default processing";
    EXPECT_EQ(ps.rcPaint.right, 200);
    EXPECT_TRUE(Texts().empty());
    ASSERT_EQ(sim::DrawingOf(window).fills.size(), 1u);
    EXPECT_EQ(sim::DrawingOf(window).fills[0].color, RGB(255, 255, 255));
    EXPECT_EQ(sim::OpenDeviceContexts(0), 2u);
    EXPECT_EQ(ReleaseDC(window, paint), 0) << "a painting context goes back through EndPaint";
    EXPECT_TRUE(EndPaint(window, &ps));
    EXPECT_EQ(sim::OpenDeviceContexts(0), 1u);
}

}  // namespace
