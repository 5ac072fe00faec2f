#include "menu_item_fixture.h"

#include "history/history.h"
#include "menu/history_menu.h"
#include "platform/sim/registry.h"
#include "platform/sim/state.h"

namespace zarvic_test {

namespace {

constexpr UINT_PTR kRunTimer = 0x5EED;
std::function<void()> g_inZarvic;

void CALLBACK RunQueued(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    std::function<void()> fn = std::move(g_inZarvic);
    g_inZarvic = nullptr;
    if (fn) fn();
}

LRESULT CALLBACK StandInMenuProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

void UseTestMenuFont() {
    sim::FontModel model;
    model.height = kLineHeight;
    model.ascent = 16;
    model.externalLeading = kLeading;
    model.narrow = kNarrow;
    model.wide = kWide;
    model.fullWidth = kFullWidth;
    sim::Device::Current().SetFontModel(kMenuFace, 0, model);
    SetPopupFont(kMenuFace, kMenuFontHeight);
}

LOGFONTW LogFontOf(HGDIOBJ font) {
    LOGFONTW lf{};
    GetObjectW(font, sizeof lf, &lf);
    return lf;
}

void MenuLookTest::SetUp() {
    UseTestMenuFont();
    StartWithHotKey();
    ASSERT_NE(MainWindow(), nullptr);
    // as the menu build measures them: sixteen A, and W plus 4
    g_maxItemWidth = 16 * kNarrow;
    g_mnemonicColumnWidth = kWide + 4;
}

void MenuLookTest::TearDown() {
    if (g_mnemonicTable) {
        LocalFree(g_mnemonicTable);
        g_mnemonicTable = nullptr;
    }
    ClearHistory();
}

void MenuLookTest::ClearHistory() { FreeHistory(); }

void MenuLookTest::RunInZarvic(std::function<void()> fn) {
    g_inZarvic = std::move(fn);
    sim::DeviceState& s = device.State();
    s.timers.push_back(sim::Timer{sim::FindProgram(zarvic), MainWindow(), kRunTimer, 0, s.now, &RunQueued});
    s.generation++;
    device.RunUntilIdle();
    ASSERT_FALSE(g_inZarvic) << "Zarvic did not run it";
}

void MenuLookTest::PutHistory(const std::vector<std::u16string>& entries) {
    for (size_t k = 0; k < entries.size(); ++k) {
        auto* text = static_cast<WCHAR*>(LocalAlloc(LPTR, (entries[k].size() + 1) * sizeof(WCHAR)));
        std::copy(entries[k].begin(), entries[k].end(), text);
        if (g_historySlots[k]) LocalFree(g_historySlots[k]);
        g_historySlots[k] = text;
        g_historyHashes[k] = HashHistoryText(text, &g_historyLengths[k]);
    }
}

void MenuLookTest::MakeMnemonicTable(HMENU menu, const std::vector<LONG>& codes) {
    if (!g_mnemonicTable)
        g_mnemonicTable =
            static_cast<MNEMONIC_RECORD*>(LocalAlloc(LPTR, MNEMONIC_TABLE_RECORDS * sizeof(MNEMONIC_RECORD)));
    g_mnemonicTable[0].hMenu = menu;
    for (size_t k = 0; k < codes.size(); ++k) {
        g_mnemonicTable[0].codes[k] = codes[k];
        g_mnemonicTable[0].positions[k] = static_cast<LONG>(k);
    }
}

HWND MenuLookTest::MakeMenuWindow(RECT r) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StandInMenuProc;
    wc.lpszClassName = u"MNU";
    RegisterClassW(&wc);
    menuWindow = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, u"MNU", nullptr, WS_POPUP | WS_BORDER, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(menuWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    return menuWindow;
}

MEASUREITEMSTRUCT MenuLookTest::Measure(UINT id) {
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = id;
    mis.itemHeight = 18;
    mis.itemData = reinterpret_cast<ULONG_PTR>(menuHandle);
    EXPECT_EQ(device.Send(MainWindow(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis)), TRUE);
    return mis;
}

void MenuLookTest::Draw(HDC dc, UINT id, RECT item, bool selected, HMENU menu) {
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_MENU;
    dis.itemID = id;
    dis.itemAction = selected ? ODA_SELECT : ODA_DRAWENTIRE;
    dis.itemState = selected ? ODS_SELECTED : 0;
    dis.hwndItem = reinterpret_cast<HWND>(menu);
    dis.hDC = dc;
    dis.rcItem = item;
    dis.itemData = reinterpret_cast<ULONG_PTR>(menu);
    EXPECT_EQ(device.Send(MainWindow(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
}

}  // namespace zarvic_test
