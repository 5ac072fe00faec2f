// The whole road through the history menu: copy in an application, press the hot-key,
// pick an entry at the caret, and find the text pasted where the caret was.
#include "app/app.h"
#include "core/util.h"
#include "history_menu_fixture.h"
#include "platform/sim/caret.h"
#include "platform/sim/dc.h"
#include "platform/sim/gdi.h"

using namespace zarvic_test;

namespace {

class MenuRoadTest : public HistoryMenuTest {
protected:
    // Copies the texts one after the other in the editor, as a person would.
    void Copy(std::initializer_list<const char16_t*> texts) {
        for (const char16_t* t : texts) {
            CopyInEditor(t);
            Tick();
        }
    }
    // Nothing of the menu is left once it has closed: no menu, no window of its own, no
    // device context or GDI object of Zarvic's, and on the heap only the history entries
    // (and, with the tooltip on, the preview text it keeps until the next preview).
    void ExpectMenuTidiedAway(size_t previewBlocks) {
        EXPECT_FALSE(device.OpenMenu());
        EXPECT_EQ(device.LiveMenus(zarvic), 0u);
        EXPECT_EQ(device.FindWindow(u"MNU"), nullptr);
        EXPECT_EQ(device.FindWindow(u"Zarvic_MenuTip"), nullptr);
        EXPECT_EQ(device.Windows(zarvic).size(), 1u) << "the main window only";
        EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
        EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
        EXPECT_EQ(device.LiveBlocks(zarvic).size(), History().size() + previewBlocks);
        EXPECT_EQ(g_mnemonicTable, nullptr);
        EXPECT_EQ(g_menuOpen, 0);
    }
};

// Windows CE answers GetCaretPos only to the thread that owns the caret: the menu then
// opens centred over the application's window. A device whose caret is system-wide
// (the parameter) opens it at the caret.
class MenuPlacementTest : public MenuRoadTest, public ::testing::WithParamInterface<bool> {};

}  // namespace

TEST_P(MenuPlacementTest, AMnemonicPastesTheEntryWhereTheCaretIsAndItMovesToTheTop) {
    device.SetSystemWideCaret(GetParam());
    StartWithToolTip(false);
    Copy({u"first", u"second", u"third"});
    device.SetEditorText(editor, u"say: ");
    POINT anchor{0, 0};
    if (GetParam()) {
        ASSERT_TRUE(GetCaretPos(&anchor));
    } else {
        RECT client;
        GetClientRect(editor, &client);
        ClientToScreen(editor, &anchor);
        anchor.x += client.right / 2 - 60;   // centred by the remembered size {120, 50}
        anchor.y += client.bottom / 2 - 25;
    }

    PressMenuHotKey();
    auto menu = Menu();
    EXPECT_EQ(menu.rect.left, anchor.x);
    EXPECT_EQ(menu.rect.top, anchor.y);
    EXPECT_EQ(menu.items.size(), 6u);
    EXPECT_EQ(device.Foreground(), MainWindow());

    device.TypeText(u"3");
    EXPECT_EQ(device.EditorText(editor), u"say: first");
    EXPECT_EQ(device.EditorCaret(editor), 10u);
    EXPECT_EQ(device.Foreground(), editor);
    ExpectMenuTidiedAway(0);

    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"first", u"third", u"second"}));
    CloseZarvic();
    ExpectNoLeaks();
}

INSTANTIATE_TEST_SUITE_P(CaretOfItsThreadOrSystemWide, MenuPlacementTest, ::testing::Bool());

TEST_F(MenuRoadTest, ArrowsAndEnterPickWhileThePreviewFollowsTheHighlight) {
    StartWithToolTip(true);
    Copy({u"one", u"two\r\nlines", u"three"});
    device.SetEditorText(editor, u"");
    PressMenuHotKey();
    HWND tip = device.FindWindow(u"Zarvic_MenuTip");
    ASSERT_NE(tip, nullptr);
    EXPECT_GE(device.Window(tip)->rect.left, 21000) << "parked until an entry is highlighted";

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);
    auto menu = Menu();
    ASSERT_EQ(menu.highlighted, 1);
    auto shown = device.Window(tip);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(shown->visible);
    EXPECT_EQ(shown->rect.left, menu.items[1].screen.right + 4) << "beside the menu";
    EXPECT_EQ(shown->rect.top, menu.items[1].screen.top) << "level with the entry";
    EXPECT_GT(shown->rect.bottom - shown->rect.top, menu.items[1].rect.bottom - menu.items[1].rect.top)
        << "two lines";
    EXPECT_TRUE(shown->topmost);

    device.PressKey(VK_DOWN);
    device.PressKey(VK_DOWN);  // the separator is skipped: Clear Clipboard
    EXPECT_EQ(Menu().highlighted, 4);
    EXPECT_GE(device.Window(tip)->rect.left, 21000) << "no preview for Clear Clipboard";

    device.PressKey(VK_UP);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.EditorText(editor), u"one");
    ExpectMenuTidiedAway(1);
    Tick();
    EXPECT_EQ(History()[0], u"one");
    CloseZarvic();
    ExpectNoLeaks();
}

// The menu window's class and where its items sit are the device's own choices. Where
// Zarvic cannot follow the menu, the preview stays out of sight, never at a wrong place.
TEST_F(MenuRoadTest, OnAnyMenuWindowThePreviewIsBesideTheMenuOrOutOfSightAndThePasteGoesThrough) {
    StartWithToolTip(true);
    CaptureEntries(2);
    SIZE shown{0, 0};  // on the default device, the first
    std::u16string pasted;
    for (auto [menuClass, inset] : {std::pair{u"MNU", 0}, {u"#32768", 0}, {u"MNU", 3}, {u"#32768", 3}}) {
        device.SetMenuWindowClass(menuClass);
        device.SetMenuItemInset(inset);
        PressMenuHotKey();
        device.PressKey(VK_DOWN);
        auto menu = Menu();
        RECT at = device.Window(device.FindWindow(u"Zarvic_MenuTip"))->rect, client{};
        GetClientRect(menu.window, &client);
        ClientRectToScreen(menu.window, &client);
        SIZE size{at.right - at.left, at.bottom - at.top};
        if (shown.cx == 0) shown = size;
        bool beside = at.left == client.right + 4 && at.top == menu.items[0].screen.top && size.cx == shown.cx &&
                      size.cy == shown.cy;
        EXPECT_TRUE(beside || at.left == 21000) << sim::ToUtf8(menuClass) << " inset " << inset;
        EXPECT_TRUE(beside || menuClass != std::u16string(u"MNU") || inset) << "the default device shows it";
        device.PressKey(VK_RETURN);
        EXPECT_EQ(device.EditorText(editor), pasted += EntryText(0)) << sim::ToUtf8(menuClass) << " inset " << inset;
    }
}

TEST_F(MenuRoadTest, ShiftWithATapDeletesTheEntryInsteadOfPasting) {
    StartWithToolTip(true);
    Copy({u"keep", u"drop", u"newest"});
    device.SetEditorText(editor, u"");
    PressMenuHotKey();
    device.HoldKey(VK_SHIFT);
    device.TapMenuItem(1);
    device.ReleaseKey(VK_SHIFT);
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"newest", u"keep"}));
    EXPECT_EQ(device.EditorText(editor), u"");
    EXPECT_EQ(device.ClipboardText(), u"newest");
    EXPECT_EQ(device.Foreground(), editor);
    ExpectMenuTidiedAway(1);

    // Shift on the newest entry also empties the clipboard, so the next tick keeps it out.
    PressMenuHotKey();
    device.PressKey(VK_DOWN);
    device.HoldKey(VK_SHIFT);
    device.PressKey(VK_RETURN);
    device.ReleaseKey(VK_SHIFT);
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"keep"}));
    EXPECT_FALSE(device.ClipboardText());
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(MenuRoadTest, ClearClipboardAsksAndThenEmptiesBoth) {
    StartWithToolTip(false);
    Copy({u"a", u"b"});
    PressMenuHotKey();
    device.TapMenuItem(3);  // "Clear Clipboard", after two entries and the separator
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND));
    device.AnswerMessageBox(IDYES);
    EXPECT_TRUE(History().empty());
    EXPECT_FALSE(device.ClipboardText());
    Tick();
    EXPECT_TRUE(History().empty());

    PressMenuHotKey();
    EXPECT_EQ(Menu().items.size(), 1u) << "only CANCEL is left";
    device.TypeText(u"c");
    ExpectMenuTidiedAway(0);
    CloseZarvic();
    ExpectNoLeaks();
}

// Another application copies while the menu is up: each row still stands for the text it
// shows, and the copy is not lost to the paste or to a deletion.
TEST_F(MenuRoadTest, TheMenuActsOnTheEntriesItShowsAndKeepsATextCopiedMeanwhile) {
    StartWithToolTip(true);
    Copy({u"a", u"b"});
    device.SetEditorText(editor, u"");
    PressMenuHotKey();
    ASSERT_TRUE(device.PutClipboardText(u"new"));
    Tick();
    EXPECT_TRUE(MenuIsOpen());
    device.TapMenuItem(1);  // shown as "a"
    EXPECT_EQ(device.EditorText(editor), u"a");
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"a", u"new", u"b"}));

    PressMenuHotKey();
    ASSERT_TRUE(device.PutClipboardText(u"newer"));
    Tick();
    device.HoldKey(VK_SHIFT);
    device.TapMenuItem(0);  // shown as "a"
    device.ReleaseKey(VK_SHIFT);
    EXPECT_EQ(device.ClipboardText(), u"newer");
    Tick();
    EXPECT_EQ(History(), (std::vector<std::u16string>{u"newer", u"new", u"b"}));
    CloseZarvic();
    ExpectNoLeaks();
}
