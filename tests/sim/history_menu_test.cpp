// The history menu: what the hot-key builds, where it opens, and what typed keys pick.
#include <algorithm>

#include "app/app.h"
#include "history_menu_fixture.h"
#include "platform/sim/caret.h"
#include "platform/sim/dialog.h"

using namespace zarvic_test;

// ---- construction ----

TEST_F(HistoryMenuTest, AnEmptyHistoryShowsOnlyCancelWithItsC) {
    StartWithToolTip(false);
    PressMenuHotKey();
    auto menu = Menu();
    ASSERT_EQ(menu.items.size(), 1u);
    EXPECT_EQ(menu.items[0].id, static_cast<UINT>(IDM_CANCEL));
    EXPECT_EQ(menu.items[0].flags, static_cast<UINT>(MF_OWNERDRAW));
    EXPECT_EQ(menu.items[0].data, reinterpret_cast<ULONG_PTR>(menu.menu));
    EXPECT_EQ(Codes(), (std::vector<LONG>{'C', 0}));
    EXPECT_EQ(g_mnemonicTable[1].hMenu, nullptr) << "the second record ends the table";

    device.TypeText(u"c");
    EXPECT_FALSE(MenuIsOpen());
    ASSERT_EQ(Posted(WM_COMMAND).size(), 1u);
    EXPECT_EQ(Posted(WM_COMMAND)[0].args[2], IDM_CANCEL);
}

TEST_F(HistoryMenuTest, ThreeEntriesAreFollowedByTheSeparatorClearAndCancel) {
    StartWithToolTip(true);
    CaptureEntries(3);
    PressMenuHotKey();
    auto menu = Menu();
    std::vector<UINT> ids, flags;
    for (const auto& item : menu.items) {
        ids.push_back(item.id);
        flags.push_back(item.flags);
        if (item.flags & MF_OWNERDRAW) {
            EXPECT_EQ(item.data, reinterpret_cast<ULONG_PTR>(menu.menu));
        }
    }
    EXPECT_EQ(ids, (std::vector<UINT>{200, 201, 202, 0, IDM_CLEAR, IDM_CANCEL}));
    EXPECT_EQ(flags[3], static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(Codes(), (std::vector<LONG>{'1', '2', '3', -1, 'C', 'C', 0}));
    for (int k = 0; k < 6; ++k) EXPECT_EQ(g_mnemonicTable[0].positions[k], k);
    EXPECT_EQ(FindMnemonicRecord(g_mnemonicTable, menu.menu), 0);
    auto blocks = device.LiveBlocks(zarvic);
    auto table = std::find_if(blocks.begin(), blocks.end(), [](const sim::HeapBlock& b) { return b.address == g_mnemonicTable; });
    ASSERT_NE(table, blocks.end());
    EXPECT_EQ(table->size, 2 * sizeof(MNEMONIC_RECORD));
    EXPECT_EQ(g_menuOpen, 1);
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(g_mnemonicTable, nullptr);
    EXPECT_EQ(g_menuOpen, 0);
}

// The screen's line count sets how many entries the menu shows; slots 9 to 34 have the
// letters and later slots none.
TEST_F(HistoryMenuTest, TheScreenLinesSetTheCapacityAndTheLateSlotsHaveNoLetters) {
    SetSystemLineHeight(8, 2);  // a work area of 454 / 10 = 45 lines
    StartWithToolTip(true);
    CaptureEntries(40);
    PressMenuHotKey();
    EXPECT_EQ(g_historyCapacity, 41);
    ASSERT_EQ(Menu().items.size(), 43u) << "never more than 40 entries";
    auto codes = Codes();
    ASSERT_EQ(codes.size(), 44u);
    EXPECT_EQ(codes[8], '9');
    EXPECT_EQ(codes[9], 'A');
    EXPECT_EQ(codes[34], 'Z');
    EXPECT_EQ(std::vector<LONG>(codes.begin() + 35, codes.end()),
              (std::vector<LONG>{-1, -1, -1, -1, -1, -1, 'C', 'C', 0}));
    device.TypeText(u"z");
    EXPECT_EQ(Menu().highlighted, 34);
    device.PressKey(VK_ESCAPE);

    struct Case {
        LONG height, leading;
        int capacity;
        size_t items;
    } cases[] = {
        {14, 2, 24, 27},   // 28 lines: 24 entries, the separator, Clear and Cancel
        {140, 20, 2, 5},   // 2 lines
    };
    for (const Case& c : cases) {
        SetSystemLineHeight(c.height, c.leading);
        PressMenuHotKey();
        EXPECT_EQ(g_historyCapacity, c.capacity);
        EXPECT_EQ(Menu().items.size(), c.items);
        device.PressKey(VK_ESCAPE);
    }
    EXPECT_EQ(History().size(), 40u) << "the menu itself trims nothing";
}

// ---- mnemonics ----

TEST_F(HistoryMenuTest, WithTheToolTipOnASharedLetterOnlyHighlightsAndCycles) {
    StartWithToolTip(true);
    CaptureEntries(15);
    PressMenuHotKey();
    std::vector<int> seen;
    for (const char16_t* typed : {u"c", u"c", u"c", u"c", u"C", u"3"}) {
        device.TypeText(typed);
        seen.push_back(Menu().highlighted);
    }
    EXPECT_EQ(seen, (std::vector<int>{11, 16, 17, 11, 16, 2}));
    EXPECT_TRUE(Posted(WM_COMMAND).empty());
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.EditorText(editor), EntryText(2));
}

TEST_F(HistoryMenuTest, WithTheToolTipOffTheFirstMatchIsChosenAtOnce) {
    StartWithToolTip(false);
    CaptureEntries(15);
    PressMenuHotKey();
    device.TypeText(u"c");
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(device.EditorText(editor), EntryText(11));

    // With 10 entries shown (14 lines above the taskbar) there is no slot 11: C is "Clear Clipboard", whose
    // question still follows.
    SetSystemLineHeight(28, 4);
    PressMenuHotKey();
    ASSERT_EQ(Menu().items.size(), 13u);
    device.TypeText(u"C");
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, u"クリップボード履歴をクリアします\n\n    よろしいでしょうか？");
    device.AnswerMessageBox(IDYES);
    EXPECT_TRUE(History().empty());
}

TEST_F(HistoryMenuTest, KeysWithoutAnEntryAndOtherMenusAreLeftToTheDefault) {
    StartWithToolTip(true);
    CaptureEntries(15);
    HWND main = MainWindow();
    const LPARAM other = 0x4444;
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', MF_POPUP), other), 0) << "no menu open";
    PressMenuHotKey();
    const LPARAM menu = reinterpret_cast<LPARAM>(Menu().menu);
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', MF_POPUP), other), 0) << "a menu in no record";
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', 0), menu), 0) << "not a popup";
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'b', MF_POPUP), menu), MAKELRESULT(10, MNC_SELECT));
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'ｃ', MF_POPUP), menu), 0) << "full-width c is no C";
    EXPECT_EQ(g_lastMnemonicMatch, -1) << "no match restarts the cycle";

    g_lastMnemonicMatch = 5;
    EXPECT_EQ(MatchMnemonic(nullptr, 0, u'c'), -1);
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, -1, u'c'), -1);
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, 2, u'c'), -1) << "beyond the table";
    EXPECT_EQ(g_lastMnemonicMatch, 5) << "left unchanged";
    EXPECT_EQ(FindMnemonicRecord(nullptr, Menu().menu), -1);

    device.TypeText(u"q");
    EXPECT_TRUE(MenuIsOpen());
    EXPECT_EQ(device.Calls("MessageBeep", zarvic).size(), 1u);
}

// ---- the sequence ----

TEST_F(HistoryMenuTest, TheMenuIsTrackedFromTheForegroundAndTidiedAwayInOrder) {
    StartWithToolTip(true);
    CaptureEntries(2);
    device.ClearCalls();
    PressMenuHotKey();
    auto menu = Menu();
    EXPECT_EQ(device.Foreground(), MainWindow());
    HWND tip = device.FindWindow(u"Zarvic_MenuTip");
    device.TapMenuItem(1);

    std::vector<std::string> order;
    for (const sim::Call& c : device.Calls()) {
        if (c.program != zarvic) continue;
        if (c.name == "LocalAlloc" && c.args[1] == static_cast<intptr_t>(2 * sizeof(MNEMONIC_RECORD)))
            order.push_back(c.args[0] == LPTR ? "table" : "table?");
        else if (c.name == "CreatePopupMenu" || c.name == "SetForegroundWindow" || c.name == "TrackPopupMenuEx" ||
                 c.name == "DestroyMenu" || (c.name == "DestroyWindow" && c.args[0] == reinterpret_cast<intptr_t>(tip)))
            order.push_back(c.name);
        else if (c.name == "PostMessageW" && (c.args[1] == WM_COMMAND || c.args[1] == WM_NULL))
            order.push_back(c.args[1] == WM_NULL ? "null" : "command " + std::to_string(c.args[2]));
        else if (c.name == "CreateWindowExW" && c.text == u"Zarvic_MenuTip")
            order.push_back("tip");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"table", "CreatePopupMenu", "tip", "SetForegroundWindow",
                                               "TrackPopupMenuEx", "command " + std::to_string(IDM_HISTORY_FIRST + 1),
                                               "DestroyWindow", "null", "DestroyMenu"}));
    EXPECT_EQ(menu.owner, MainWindow());
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
}

// Mended: a dismissed menu runs no command and so no hide step, which left Zarvic's
// hidden main window in the foreground to swallow what the user typed next.
TEST_F(HistoryMenuTest, DismissingPostsOnlyTheNullMessageAndGivesTheForegroundBack) {
    StartWithToolTip(false);
    CaptureEntries(2);
    device.ClearCalls();
    PressMenuHotKey();
    device.TapOutsideMenu();
    EXPECT_TRUE(Posted(WM_COMMAND).empty());
    EXPECT_EQ(Posted(WM_NULL).size(), 1u);
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(device.Foreground(), editor);
    EXPECT_FALSE(device.Window(MainWindow())->visible);
    // The device's editor follows Ctrl by its own key messages, and the hot-key's Ctrl
    // release went to the menu's owner: a fresh press and release puts it right.
    device.PressKey(VK_CONTROL);
    device.TypeText(u"ok");
    EXPECT_EQ(device.EditorText(editor), u"ok");

    PressMenuHotKey();
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(device.Foreground(), editor) << "Esc alike";
}

// ---- refusals and failures ----

TEST_F(HistoryMenuTest, TheHotKeyDoesNothingWhileAMenuOrADialogIsOpen) {
    StartWithToolTip(true);
    PressMenuHotKey();
    HWND first = Menu().window;
    PressMenuHotKey();
    EXPECT_EQ(Menu().window, first);
    EXPECT_EQ(device.LiveMenus(zarvic), 1u);
    device.PressKey(VK_ESCAPE);

    device.Post(MainWindow(), WM_COMMAND, IDM_ABOUT);
    HWND about = device.OpenDialog();
    ASSERT_NE(about, nullptr);
    PressMenuHotKey();
    EXPECT_FALSE(MenuIsOpen());
    device.TapDialogClose(about);
    PressMenuHotKey();
    EXPECT_TRUE(MenuIsOpen()) << "once the dialog is gone it works again";
}

TEST_F(HistoryMenuTest, AFailedTableOrMenuShowsNothingAndThenRecovers) {
    StartWithToolTip(true);
    CaptureEntries(2);
    device.ClearCalls();
    device.FailNext(sim::FaultPoint::LocalAlloc);
    PressMenuHotKey();
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(device.LiveMenus(zarvic), 0u);
    EXPECT_EQ(device.Foreground(), editor);
    EXPECT_EQ(g_menuOpen, 0);

    device.FailNext(sim::FaultPoint::MenuCreation);
    PressMenuHotKey();
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(device.LiveMenus(zarvic), 0u);
    EXPECT_EQ(device.LiveBlocks(zarvic).size(), History().size()) << "the table is released";
    PressMenuHotKey();
    EXPECT_TRUE(MenuIsOpen());
}

// ---- placement without a caret ----

class NoCaretPlacementTest : public HistoryMenuTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NoCaretPlacementTest, WithoutACaretTheMenuIsCentredOverTheForegroundClientArea) {
    device.SetSystemWideCaret(GetParam());
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false, false));
    StartZarvic();
    struct Case {
        RECT client;
        POINT anchor;
    } cases[] = {
        {{0, 0, 640, 400}, {260, 175}},
        {{100, 100, 108, 108}, {104, 104}},  // the clamped point falls outside: the centre
        {{100, 100, 109, 109}, {108, 108}},
        {{50, 20, 150, 420}, {58, 195}},     // 100 wide: the left margin wins
    };
    for (const Case& c : cases) {
        HWND plain = StartPlainWindow(c.client);  // before the query: argument order is unspecified
        ASSERT_EQ(device.Foreground(), plain);
        g_menuSize = SIZE{120, 50};
        PressMenuHotKey();
        EXPECT_EQ(Menu().anchor.x, c.anchor.x) << c.client.right;
        EXPECT_EQ(Menu().anchor.y, c.anchor.y) << c.client.right;
        device.PressKey(VK_ESCAPE);
    }

    // The next placement centres by the right edge of the last item drawn.
    LONG right = g_menuSize.cx;
    EXPECT_NE(right, 120);
    StartPlainWindow(RECT{0, 0, 640, 400});
    PressMenuHotKey();
    EXPECT_EQ(Menu().anchor.x, 320 - right / 2);
    EXPECT_EQ(Menu().anchor.y, 175);
    device.PressKey(VK_ESCAPE);

    // With no foreground window either, the work area is the rectangle.
    device.State().foreground = nullptr;
    g_menuSize = SIZE{120, 50};
    PressMenuHotKey();
    RECT work = device.WorkArea();
    EXPECT_EQ(Menu().anchor.x, (work.left + work.right) / 2 - 60);
    EXPECT_EQ(Menu().anchor.y, (work.top + work.bottom) / 2 - 25);
}

INSTANTIATE_TEST_SUITE_P(CaretOfItsThreadOrSystemWide, NoCaretPlacementTest, ::testing::Bool());
