// The history menu: what the hot-key builds, where it opens, and what typed keys pick.
#include "app/app.h"
#include "history_menu_fixture.h"
#include "platform/sim/dialog.h"

using namespace zarvic_test;

namespace {

constexpr UINT kOwnerDrawn = MF_OWNERDRAW;

}  // namespace

// ---- construction ----

TEST_F(HistoryMenuTest, AnEmptyHistoryShowsOnlyCancelWithItsC) {
    StartWithToolTip(false);
    PressMenuHotKey();
    auto menu = Menu();
    ASSERT_EQ(menu.items.size(), 1u);
    EXPECT_EQ(menu.items[0].id, static_cast<UINT>(IDM_CANCEL));
    EXPECT_EQ(menu.items[0].flags, kOwnerDrawn);
    EXPECT_EQ(menu.items[0].data, reinterpret_cast<ULONG_PTR>(menu.menu));
    EXPECT_EQ(Codes(), (std::vector<LONG>{'C', 0}));
    EXPECT_EQ(g_mnemonicTable[1].hMenu, nullptr) << "the second record ends the table";

    device.TypeText(u"c");
    EXPECT_FALSE(MenuIsOpen());
    auto commands = Posted(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].args[2], IDM_CANCEL);
    EXPECT_EQ(device.Foreground(), editor) << "the hide step gave the foreground back";
}

TEST_F(HistoryMenuTest, ThreeEntriesAreFollowedByTheSeparatorClearAndCancel) {
    StartWithToolTip(true);
    CaptureEntries(3);
    PressMenuHotKey();
    auto menu = Menu();
    ASSERT_EQ(menu.items.size(), 6u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(menu.items[k].id, static_cast<UINT>(200 + k));
        EXPECT_EQ(menu.items[k].flags, kOwnerDrawn);
        EXPECT_EQ(menu.items[k].data, reinterpret_cast<ULONG_PTR>(menu.menu));
    }
    EXPECT_EQ(menu.items[3].flags, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(menu.items[4].id, static_cast<UINT>(IDM_CLEAR));
    EXPECT_EQ(menu.items[4].data, reinterpret_cast<ULONG_PTR>(menu.menu));
    EXPECT_EQ(menu.items[5].id, static_cast<UINT>(IDM_CANCEL));
    EXPECT_EQ(Codes(), (std::vector<LONG>{'1', '2', '3', -1, 'C', 'C', 0}));
    for (int k = 0; k < 6; ++k) EXPECT_EQ(g_mnemonicTable[0].positions[k], k);
    EXPECT_EQ(g_mnemonicTable[0].hMenu, menu.menu);
    EXPECT_EQ(FindMnemonicRecord(g_mnemonicTable, menu.menu), 0);
    EXPECT_EQ(FindMnemonicRecord(g_mnemonicTable, reinterpret_cast<HMENU>(0x1234)), -1);
    EXPECT_EQ(g_menuOpen, 1);

    // The table is one zeroed block of exactly two records, released with the menu.
    auto allocs = device.Calls("LocalAlloc", zarvic);
    bool found = false;
    for (const auto& a : allocs)
        found = found || (a.args[0] == LPTR && a.args[1] == static_cast<intptr_t>(2 * sizeof(MNEMONIC_RECORD)));
    EXPECT_TRUE(found);
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(g_mnemonicTable, nullptr);
    EXPECT_EQ(g_menuOpen, 0);
}

TEST_F(HistoryMenuTest, SlotsNineToThirtyFourHaveLettersAndLaterOnesNone) {
    SetSystemLineHeight(8, 2);   // 48 lines: room for every entry
    StartWithToolTip(true);
    CaptureEntries(40);
    PressMenuHotKey();
    auto menu = Menu();
    ASSERT_EQ(menu.items.size(), 43u);
    auto codes = Codes();
    ASSERT_EQ(codes.size(), 44u);
    EXPECT_EQ(codes[0], '1');
    EXPECT_EQ(codes[8], '9');
    EXPECT_EQ(codes[9], 'A');
    EXPECT_EQ(codes[34], 'Z');
    for (int k = 35; k < 40; ++k) EXPECT_EQ(codes[k], -1) << k;
    EXPECT_EQ(codes[40], -1);
    EXPECT_EQ(codes[41], 'C');
    EXPECT_EQ(codes[42], 'C');
    EXPECT_EQ(codes[43], 0);

    device.TypeText(u"z");
    EXPECT_EQ(Menu().highlighted, 34);
    device.TypeText(u"9");
    EXPECT_EQ(Menu().highlighted, 8);
}

// ---- capacity ----

TEST_F(HistoryMenuTest, ThirtyLinesGiveACapacityOfTwentySix) {
    SetSystemLineHeight(14, 2);  // 480 / 16 = 30
    StartWithToolTip(false);
    CaptureEntries(30);
    ASSERT_EQ(History().size(), 30u);
    PressMenuHotKey();
    EXPECT_EQ(g_historyCapacity, 26);
    EXPECT_EQ(Menu().items.size(), 29u) << "26 entries, the separator, Clear and Cancel";
    EXPECT_EQ(Menu().items[25].id, 225u);
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(History().size(), 30u) << "the menu itself trims nothing";
}

TEST_F(HistoryMenuTest, MoreLinesThanEntriesStillShowAtMostForty) {
    SetSystemLineHeight(8, 2);   // 480 / 10 = 48
    StartWithToolTip(false);
    CaptureEntries(40);
    PressMenuHotKey();
    EXPECT_EQ(g_historyCapacity, 44);
    EXPECT_EQ(Menu().items.size(), 43u);
}

TEST_F(HistoryMenuTest, AFewLinesGiveTheSmallCapacities) {
    SetSystemLineHeight(140, 20);  // 480 / 160 = 3 lines: capacity 1
    StartWithToolTip(false);
    CaptureEntries(3);
    PressMenuHotKey();
    EXPECT_EQ(g_historyCapacity, 1);
    auto menu = Menu();
    ASSERT_EQ(menu.items.size(), 4u);
    EXPECT_EQ(menu.items[0].id, 200u);
    EXPECT_EQ(menu.items[2].id, static_cast<UINT>(IDM_CLEAR));
}

// ---- mnemonics ----

TEST_F(HistoryMenuTest, WithTheToolTipOnASharedLetterOnlyHighlightsAndCycles) {
    StartWithToolTip(true);
    CaptureEntries(15);
    PressMenuHotKey();
    const int expected[] = {11, 16, 17, 11, 16};
    for (int position : expected) {
        device.TypeText(u"c");
        ASSERT_TRUE(MenuIsOpen());
        EXPECT_EQ(Menu().highlighted, position);
    }
    device.TypeText(u"C");
    EXPECT_EQ(Menu().highlighted, 17) << "upper case alike";
    device.TypeText(u"3");
    EXPECT_EQ(Menu().highlighted, 2);
    EXPECT_TRUE(Posted(WM_COMMAND).empty());

    device.PressKey(VK_RETURN);
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(sim::EditorText(editor), EntryText(2));
}

TEST_F(HistoryMenuTest, WithTheToolTipOffTheFirstMatchIsChosenAtOnce) {
    StartWithToolTip(false);
    CaptureEntries(15);
    PressMenuHotKey();
    device.TypeText(u"c");
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(sim::EditorText(editor), EntryText(11));
    auto commands = Posted(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].args[2], 211);
}

TEST_F(HistoryMenuTest, WithFewEntriesCChoosesClearClipboardAndItsQuestionFollows) {
    StartWithToolTip(false);
    CaptureEntries(11);   // slots 0 to 10: digits and A, B; no C
    PressMenuHotKey();
    device.TypeText(u"C");
    EXPECT_FALSE(MenuIsOpen());
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, u"クリップボード履歴をクリアします\n\n    よろしいでしょうか？");
    device.AnswerMessageBox(IDNO);
    EXPECT_EQ(History().size(), 11u);

    device.Advance(1000);
    CaptureEntries(1);
    PressMenuHotKey();
    device.TypeText(u"c");
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    device.AnswerMessageBox(IDYES);
    EXPECT_TRUE(History().empty());
}

TEST_F(HistoryMenuTest, KeysWithoutAnEntryAreLeftToTheDefault) {
    StartWithToolTip(false);
    CaptureEntries(3);
    PressMenuHotKey();
    device.TypeText(u"c");  // Clear Clipboard would be chosen; first something else
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    device.AnswerMessageBox(IDNO);
    device.ClearCalls();

    PressMenuHotKey();
    device.TypeText(u"2");
    device.TypeText(u"q");
    EXPECT_FALSE(MenuIsOpen()) << "2 executed at once";
    PressMenuHotKey();
    device.TypeText(u"q");
    EXPECT_TRUE(MenuIsOpen());
    EXPECT_EQ(device.Calls("MessageBeep", zarvic).size(), 1u);
    EXPECT_EQ(g_lastMnemonicMatch, -1);
    EXPECT_EQ(Menu().highlighted, -1);
}

TEST_F(HistoryMenuTest, MenuCharForAnotherMenuOrKindGoesToTheDefault) {
    StartWithToolTip(true);
    CaptureEntries(3);
    HWND main = MainWindow();
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', MF_POPUP), 0x4444), 0) << "no table: no menu open";
    PressMenuHotKey();
    HMENU menu = Menu().menu;
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', MF_POPUP), 0x4444), 0) << "a menu in no record";
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'1', 0), reinterpret_cast<LPARAM>(menu)), 0)
        << "not a popup";
    EXPECT_EQ(device.Send(main, WM_MENUCHAR, MAKEWPARAM(u'2', MF_POPUP), reinterpret_cast<LPARAM>(menu)),
              MAKELRESULT(1, MNC_SELECT));
}

TEST_F(HistoryMenuTest, MatchingFoldsOnlyAsciiLettersAndBoundsItsInput) {
    StartWithToolTip(true);
    CaptureEntries(15);
    PressMenuHotKey();
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, 0, u'b'), 10);
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, 0, u'ｃ'), -1) << "a full-width c is no C";
    EXPECT_EQ(g_lastMnemonicMatch, -1);
    g_lastMnemonicMatch = 5;
    EXPECT_EQ(MatchMnemonic(nullptr, 0, u'c'), -1);
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, -1, u'c'), -1);
    EXPECT_EQ(MatchMnemonic(g_mnemonicTable, 2, u'c'), -1) << "beyond the table";
    EXPECT_EQ(g_lastMnemonicMatch, 5) << "left unchanged";
    EXPECT_EQ(FindMnemonicRecord(nullptr, Menu().menu), -1);
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
    EXPECT_NE(tip, nullptr) << "the tooltip setting is on";
    sim::TapMenuItem(1);

    std::vector<std::string> order;
    for (const sim::Call& c : device.Calls()) {
        if (c.program != zarvic) continue;
        if (c.name == "LocalAlloc" && c.args[0] == LPTR && c.args[1] == static_cast<intptr_t>(2 * sizeof(MNEMONIC_RECORD)))
            order.push_back("table");
        else if (c.name == "CreatePopupMenu" || c.name == "SetForegroundWindow" || c.name == "TrackPopupMenuEx" ||
                 c.name == "DestroyMenu" || (c.name == "DestroyWindow" && c.args[0] == reinterpret_cast<intptr_t>(tip)))
            order.push_back(c.name);
        else if (c.name == "PostMessageW" && c.args[1] == WM_COMMAND)
            order.push_back("post command");
        else if (c.name == "PostMessageW" && c.args[1] == WM_NULL)
            order.push_back("post null");
        else if (c.name == "CreateWindowExW" && c.text == u"Zarvic_MenuTip")
            order.push_back("tip");
    }
    EXPECT_EQ(order, (std::vector<std::string>{"table", "CreatePopupMenu", "tip", "SetForegroundWindow",
                                               "TrackPopupMenuEx", "post command", "DestroyWindow", "post null",
                                               "DestroyMenu"}));
    auto track = device.Calls("TrackPopupMenuEx", zarvic);
    ASSERT_EQ(track.size(), 1u);
    EXPECT_EQ(track[0].args[0], reinterpret_cast<intptr_t>(menu.menu));
    EXPECT_EQ(track[0].args[1], TPM_RETURNCMD);
    EXPECT_EQ(track[0].args[4], reinterpret_cast<intptr_t>(MainWindow()));
    EXPECT_EQ(Posted(WM_COMMAND)[0].args[2], 201);
    EXPECT_EQ(Posted(WM_COMMAND)[0].args[3], 0);
    EXPECT_EQ(sim::LiveMenus(zarvic), 0u);
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
}

TEST_F(HistoryMenuTest, DismissingPostsOnlyTheNullMessageAndGivesTheForegroundBack) {
    StartWithToolTip(false);
    CaptureEntries(2);
    device.ClearCalls();
    PressMenuHotKey();
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr) << "no tooltip with the setting off";
    sim::TapOutsideMenu();
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_TRUE(Posted(WM_COMMAND).empty());
    EXPECT_EQ(Posted(WM_NULL).size(), 1u);
    EXPECT_EQ(sim::EditorText(editor), u"");
    EXPECT_EQ(History().size(), 2u);
    // What the user types next reaches the editor again, not Zarvic's hidden window.
    EXPECT_EQ(device.Foreground(), editor);
    EXPECT_FALSE(device.Window(MainWindow())->visible);
    // The device's editor follows Ctrl by its own key messages, and the hot-key's Ctrl
    // release went to the menu's owner: a fresh press and release puts it right.
    device.PressKey(VK_CONTROL);
    device.TypeText(u"ok");
    EXPECT_EQ(sim::EditorText(editor), u"ok");

    PressMenuHotKey();
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(device.Foreground(), editor) << "Esc alike";
}

// ---- refusals and failures ----

TEST_F(HistoryMenuTest, TheHotKeyDoesNothingWhileAMenuOrADialogIsOpen) {
    StartWithToolTip(true);
    CaptureEntries(2);
    PressMenuHotKey();
    ASSERT_TRUE(MenuIsOpen());
    HWND first = Menu().window;
    PressMenuHotKey();
    EXPECT_EQ(device.Calls("TrackPopupMenuEx", zarvic).size(), 1u);
    EXPECT_EQ(Menu().window, first);
    EXPECT_EQ(device.Calls("CreatePopupMenu", zarvic).size(), 1u);
    device.PressKey(VK_ESCAPE);

    device.Post(MainWindow(), WM_COMMAND, IDM_ABOUT);
    HWND about = sim::OpenDialog();
    ASSERT_NE(about, nullptr);
    PressMenuHotKey();
    EXPECT_EQ(device.Calls("CreatePopupMenu", zarvic).size(), 1u);
    EXPECT_FALSE(MenuIsOpen());
    sim::TapDialogClose(about);
    ASSERT_EQ(sim::OpenDialog(), nullptr);
    PressMenuHotKey();
    EXPECT_TRUE(MenuIsOpen()) << "once the dialog is gone it works again";
}

TEST_F(HistoryMenuTest, AFailedTableAllocationShowsNothingAndThenRecovers) {
    StartWithToolTip(true);
    CaptureEntries(2);
    device.ClearCalls();
    device.FailAllocations(0, 1);
    PressMenuHotKey();
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_TRUE(device.Calls("CreatePopupMenu", zarvic).empty());
    EXPECT_TRUE(device.Calls("SetForegroundWindow", zarvic).empty());
    EXPECT_TRUE(Posted(WM_NULL).empty());
    EXPECT_EQ(g_menuOpen, 0);
    EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
    PressMenuHotKey();
    EXPECT_TRUE(MenuIsOpen());
}

// ---- placement ----

TEST_F(HistoryMenuTest, TheMenuOpensAtTheCaretOfTheForegroundApplication) {
    StartWithToolTip(false);
    CaptureEntries(2);
    sim::SetEditorText(editor, u"abc");
    POINT caret;
    ASSERT_TRUE(GetCaretPos(&caret));
    PressMenuHotKey();
    auto menu = Menu();
    EXPECT_EQ(menu.anchor.x, caret.x);
    EXPECT_EQ(menu.anchor.y, caret.y);
    EXPECT_EQ(menu.rect.left, caret.x);
    EXPECT_EQ(menu.rect.top, caret.y);
}

TEST_F(HistoryMenuTest, WithoutACaretTheMenuIsCentredOverTheForegroundClientArea) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false, false));
    StartZarvic();
    struct Case {
        RECT client;
        POINT anchor;
    } cases[] = {
        {{0, 0, 640, 400}, {260, 175}},
        {{100, 100, 108, 108}, {104, 104}},   // the clamped point falls outside: the centre
        {{100, 100, 109, 109}, {108, 108}},
        {{50, 20, 150, 420}, {58, 195}},      // 100 wide: the left margin wins
    };
    for (const Case& c : cases) {
        HWND target = StartPlainWindow(c.client);
        ASSERT_EQ(device.Foreground(), target);
        POINT caret;
        ASSERT_FALSE(GetCaretPos(&caret));
        g_menuSize = SIZE{120, 50};
        PressMenuHotKey();
        auto menu = Menu();
        EXPECT_EQ(menu.anchor.x, c.anchor.x) << c.client.right;
        EXPECT_EQ(menu.anchor.y, c.anchor.y) << c.client.right;
        device.PressKey(VK_ESCAPE);
        ASSERT_FALSE(MenuIsOpen());
    }
}

TEST_F(HistoryMenuTest, TheNextPlacementUsesTheWidthOfTheLastItemDrawn) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false, false));
    StartZarvic();
    StartPlainWindow(RECT{0, 0, 640, 400});
    PressMenuHotKey();
    EXPECT_EQ(Menu().anchor.x, 260) << "the first menu centres by {120, 50}";
    LONG right = Menu().items.back().rect.right;
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(g_menuSize.cx, right);
    EXPECT_EQ(g_menuSize.cy, 50);
    PressMenuHotKey();
    EXPECT_EQ(Menu().anchor.x, 320 - right / 2);
    EXPECT_EQ(Menu().anchor.y, 175);
}

TEST_F(HistoryMenuTest, WithNoForegroundWindowTheMenuIsCentredOnTheWorkArea) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false, false));
    StartZarvic();
    device.State().foreground = nullptr;
    device.State().focus = nullptr;
    PressMenuHotKey();
    RECT work = device.WorkArea();
    auto menu = Menu();
    EXPECT_EQ(menu.anchor.x, work.left + (work.right - work.left) / 2 - 60);
    EXPECT_EQ(menu.anchor.y, work.top + (work.bottom - work.top) / 2 - 25);
}
