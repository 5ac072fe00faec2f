// The settings dialog and the Setting command around it, as a person uses them.
#include "app/app.h"
#include "core/runtime.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"

using namespace zarvic_test;

TEST_F(TrayUiTest, FirstStartDialogShowsTheDefaultsCentredInTheForeground) {
    StartFirstTime();
    size_t windows = ZarvicWindows();
    HWND dialog = OpenSettings();
    ASSERT_NE(dialog, nullptr);
    auto info = device.Window(dialog);
    EXPECT_EQ(info->title, u"SETTING");
    EXPECT_EQ(info->className, u"Dialog");
    EXPECT_EQ(device.Foreground(), dialog);
    int width = info->rect.right - info->rect.left, height = info->rect.bottom - info->rect.top;
    EXPECT_EQ(info->rect.left, (800 - width) / 2);
    EXPECT_EQ(info->rect.top, (480 - height) / 2) << "centred on the whole screen, not the work area";

    EXPECT_FALSE(Checked(108));
    EXPECT_FALSE(Checked(109));
    EXPECT_FALSE(Checked(110));
    EXPECT_EQ(Control(104).text, u"C");
    EXPECT_FALSE(Control(104).enabled) << "no modifier: the letter is greyed";
    EXPECT_TRUE(Checked(114));
    EXPECT_FALSE(Checked(106));
    EXPECT_FALSE(Checked(107));
    EXPECT_TRUE(Control(106).focused) << "the first tab stop has the focus";
    EXPECT_EQ(Control(101).iconId, 130);

    // While it is open the tray menu and the hot-key are shut out, and nothing polls.
    EXPECT_EQ(PollInterval(), 0u);

    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(device.Dialogs().back().result, IDCANCEL);
    EXPECT_EQ(device.OpenMessageBox(), nullptr) << "dismissed with nothing set: nothing failed";

    EXPECT_EQ(device.FileBytes(kDataPath), DefaultDataFile());
    EXPECT_EQ(PollInterval(), 0u) << "polling stays stopped";
    EXPECT_FALSE(device.Window(MainWindow())->visible) << "the hide step ends the command";
    ExpectNothingLeft(windows);
}

TEST_F(TrayUiTest, ModifierBoxesEnableTheLetterAtOnceAndEscapeCancelsEveryChange) {
    StartFirstTime();
    OpenSettings();
    Tap(108);
    EXPECT_TRUE(Checked(108));
    EXPECT_TRUE(Control(104).enabled) << "a modifier enables the letter at once";
    Tap(109);
    Tap(108);
    EXPECT_TRUE(Control(104).enabled) << "Ctrl is still ticked";
    Tap(109);
    EXPECT_FALSE(Control(104).enabled) << "unticking the last modifier greys the letter";

    Tap(109);
    ReplaceLetter(u"x");
    Tap(114);
    Tap(106);
    device.PressKey(VK_ESCAPE);

    EXPECT_EQ(device.OpenMessageBox(), nullptr) << "cancelled back to no modifier: nothing set, nothing failed";
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty()) << "Ctrl+C, ticked and cancelled, is not registered";
    EXPECT_EQ(device.FileBytes(kDataPath), DefaultDataFile());
    EXPECT_FALSE(device.Exists(kDesktop + u"\\Zravic.lnk"));

    // A working hot-key outlives its boxes unticked and Escape.
    OpenSettings();
    Tap(108);
    Tap(109);
    device.PressKey(VK_RETURN);
    OpenSettings();
    Tap(108);
    Tap(109);
    device.PressKey(VK_ESCAPE);
    EXPECT_TRUE(HoldsHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    EXPECT_EQ(DataByte(kAltAt), 1);
    EXPECT_EQ(DataByte(kCtrlAt), 1);
}

TEST_F(TrayUiTest, TheLetterIsStoredAsOneUpperCaseCharacter) {
    StartWithHotKey(u'C', true, true, false);
    OpenSettings();
    EXPECT_TRUE(Control(104).enabled);
    ReplaceLetter(u"q");
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.Dialogs().back().result, IDOK);
    EXPECT_EQ(DataByte(kLetterAt), 'Q');
    EXPECT_EQ(DataByte(kLetterAt + 2), 0);
    EXPECT_TRUE(HoldsHotKey(MOD_ALT | MOD_CONTROL, 'Q'));

    OpenSettings();
    EXPECT_EQ(Control(104).text, u"Q");
    ReplaceLetter(u"ab");
    Tap(114);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(DataByte(kToolTipAt), 0) << "the tooltip box is applied on OK";
    EXPECT_EQ(DataByte(kLetterAt), 'A') << "a longer text keeps its first character";
    EXPECT_EQ(DataByte(kLetterAt + 2), 0);
    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'A'));
}

// "-", "." and ";" are key codes of other keys or of none, kana and full-width letters
// of no key: loaded or typed, only A to Z and 0 to 9 make a hot-key.
TEST_F(TrayUiTest, OnlyALetterOrADigitMakesAHotKey) {
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'-', true, true, false));
    StartZarvic();
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_EQ(device.OpenMessageBox()->text, kStartupHint);
    device.AnswerMessageBox(IDOK);
    // (a full-width letter is folded to its key: see settings_changes_test.cpp)
    for (char16_t typed : {u'.', u';', u'\u3042', u'7'}) {
        OpenSettings();
        ReplaceLetter(u"");
        device.Post(Control(104).hwnd, WM_CHAR, typed);
        device.PressKey(VK_RETURN);
        if (typed == u'7') break;
        ASSERT_NE(device.OpenMessageBox(), nullptr) << static_cast<int>(typed);
        EXPECT_EQ(device.OpenMessageBox()->text, kHotKeyFailed);
        device.AnswerMessageBox(IDOK);
        EXPECT_TRUE(device.HotKeys(MainWindow()).empty()) << static_cast<int>(typed);
    }
    EXPECT_EQ(device.HotKeys(MainWindow()).size(), 1u);
    EXPECT_TRUE(HoldsHotKey(MOD_ALT | MOD_CONTROL, '7'));
}

TEST_F(TrayUiTest, AnEmptyLetterFailsTheRegistrationButIsSavedAndOpensEmpty) {
    StartWithHotKey(u'C', true, false, false);
    OpenSettings();
    ReplaceLetter(u"");
    device.PressKey(VK_RETURN);
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_EQ(device.OpenMessageBox()->text, kHotKeyFailed);
    device.AnswerMessageBox(IDOK);
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty()) << "no key: no hot-key";
    EXPECT_EQ(PollInterval(), 0u);
    EXPECT_EQ(DataByte(kLetterAt), 0);
    EXPECT_EQ(DataByte(kAltAt), 1);

    device.Advance(1000);
    EXPECT_EQ(PollInterval(), 0u) << "no poll runs after the failure";

    OpenSettings();
    EXPECT_EQ(Control(104).text, u"");
    EXPECT_TRUE(Control(104).enabled);
}

TEST_F(TrayUiTest, ACombinationTheSystemRefusesIsWarnedAboutAndStillSaved) {
    StartWithHotKey(u'C', true, true, false);
    device.HoldHotKeyElsewhere(MOD_ALT | MOD_CONTROL, 'K');
    OpenSettings();
    // The hot-key is given back while the dialog is open, and polling stops.
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty());
    EXPECT_FALSE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    device.Advance(1000);
    EXPECT_EQ(PollInterval(), 0u) << "no poll while the dialog is open";
    ReplaceLetter(u"k");
    device.PressKey(VK_RETURN);
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_EQ(device.OpenMessageBox()->style, static_cast<UINT>(MB_OK | MB_ICONWARNING | MB_SETFOREGROUND));
    device.AnswerMessageBox(IDOK);
    EXPECT_EQ(DataByte(kLetterAt), 'K');
    device.Advance(1000);
    EXPECT_EQ(PollInterval(), 0u) << "polling stays stopped";
}

TEST_F(TrayUiTest, ShortcutBoxesCreateAndRemoveLinksToTheExecutable) {
    StartWithHotKey();
    OpenSettings();
    Tap(106);
    Tap(107);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.ShortcutTarget(kDesktop + u"\\Zravic.lnk"), kQuotedExe);
    EXPECT_EQ(device.ShortcutTarget(kStartUp + u"\\Zravic.lnk"), kQuotedExe);

    OpenSettings();
    EXPECT_TRUE(Checked(106));
    EXPECT_TRUE(Checked(107));
    size_t since = device.Calls().size();
    device.PressKey(VK_RETURN);
    EXPECT_TRUE(CallsSince(since, "SHCreateShortcut").empty()) << "ticked with a link in place: nothing to do";

    OpenSettings();
    Tap(107);
    device.PressKey(VK_RETURN);
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Zravic.lnk"));
    EXPECT_FALSE(device.Exists(kStartUp + u"\\Zravic.lnk"));
    EXPECT_EQ(device.LiveItemIdLists(zarvic), 0u);
}

TEST_F(TrayUiTest, ShortcutBoxesSeeLinksUnderAnyNameAndRemoveOnlyTheFirst) {
    device.PlaceShortcut(kDesktop + u"\\A mine.lnk", u"\"\\PROGRAM FILES\\zarvic\\ZARVIC.EXE\"");
    device.PlaceShortcut(kDesktop + u"\\B mine.lnk", kQuotedExe);
    device.PlaceShortcut(kStartUp + u"\\Zravic.lnk", u"\\Program Files\\Zarvic\\Zarvic.exe");
    device.PlaceShortcut(kStartUp + u"\\Other.lnk", kQuotedExe + u" /quiet");
    StartWithHotKey();
    OpenSettings();
    EXPECT_TRUE(Checked(106)) << "a link under another name, its target in other letter case";
    EXPECT_FALSE(Checked(107)) << "an unquoted target or one with arguments is not ours";

    Tap(106);
    device.PressKey(VK_RETURN);
    EXPECT_FALSE(device.Exists(kDesktop + u"\\A mine.lnk"));
    EXPECT_TRUE(device.Exists(kDesktop + u"\\B mine.lnk")) << "only the first link found is removed";
    EXPECT_FALSE(device.Exists(kDesktop + u"\\Zravic.lnk"));

    OpenSettings();
    EXPECT_TRUE(Checked(106)) << "the second link still points at the executable";
    Tap(107);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.ShortcutTarget(kStartUp + u"\\Zravic.lnk"), kQuotedExe) << "the foreign link is replaced";
    EXPECT_EQ(device.ShortcutTarget(kStartUp + u"\\Other.lnk"), kQuotedExe + u" /quiet");
}

TEST_F(TrayUiTest, AnOverlongShortcutTargetIsReadWithinTheBuffer) {
    // A link made by hand may name a target longer than any path buffer of the program.
    device.PlaceShortcut(kDesktop + u"\\Long.lnk", u"\"" + std::u16string(400, u'x') + u"\"");
    StartWithHotKey();
    OpenSettings();
    EXPECT_FALSE(Checked(106));
    for (const sim::Call& c : device.Calls("SHGetShortcutTarget", zarvic))
        EXPECT_LE(c.args[0], MAX_PATH) << "the capacity is given in characters";
    device.PressKey(VK_ESCAPE);
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Long.lnk"));
}

TEST_F(TrayUiTest, ALoadedLetterWithoutItsNulIsShownAndStoredSafely) {
    std::vector<uint8_t> data = DataFileWithHotKey(u'W', true, false, false);
    data[kLetterAt + 2] = 'Z';  // the second unit of the entry, where its NUL belongs
    device.PlaceFile(kDataPath, data);
    StartZarvic();
    OpenSettings();
    EXPECT_EQ(Control(104).text, u"WZ");
    device.PressKey(VK_RETURN);
    EXPECT_EQ(DataByte(kLetterAt), 'W');
    EXPECT_EQ(DataByte(kLetterAt + 2), 0) << "the stored entry ends with its NUL";
}

TEST_F(TrayUiTest, AMissingTemplateGoesOnAsIfCancelled) {
    device.PlaceFile(kExePath, {'M', 'Z'});
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false));
    zarvic = device.StartProgram(kExePath, &WinMain, sim::ResourceImage{});
    ASSERT_TRUE(device.IsRunning(zarvic));
    Command(IDM_SETTING);
    EXPECT_TRUE(device.Dialogs().empty());
    EXPECT_EQ(device.OpenMessageBox(), nullptr);
    EXPECT_TRUE(HoldsHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    EXPECT_EQ(PollInterval(), static_cast<UINT>(POLL_INTERVAL_MS));
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
    EXPECT_FALSE(device.Window(MainWindow())->visible);
}
