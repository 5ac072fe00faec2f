// The settings dialog acts on what the person changed, and the letter box takes a key.
#include "app/app.h"
#include "platform/sim/input.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"

using namespace zarvic_test;

TEST_F(TrayUiTest, AShortcutBoxThePersonDidNotTouchNeverDeletesAShortcut) {
    StartWithHotKey();
    OpenSettings();
    ASSERT_FALSE(Checked(106));
    // made while the dialog is open, by the person in the shell
    device.PlaceShortcut(kDesktop + u"\\Zarvic.lnk", kQuotedExe);
    device.PlaceShortcut(kStartUp + u"\\Zarvic.lnk", kQuotedExe);
    Tap(114);
    device.PressKey(VK_RETURN);
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Zarvic.lnk"));
    EXPECT_TRUE(device.Exists(kStartUp + u"\\Zarvic.lnk"));

    OpenSettings();
    ASSERT_TRUE(Checked(107));
    Tap(107);
    device.PressKey(VK_RETURN);
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Zarvic.lnk"));
    EXPECT_FALSE(device.Exists(kStartUp + u"\\Zarvic.lnk")) << "a box the person cleared deletes";
}

TEST_F(TrayUiTest, TheLetterBoxTakesOneCharacterUpperCasedAndFoldedToAKey) {
    StartWithHotKey(u'C', true, true, false);
    struct Case {
        const char16_t* typed;
        const char16_t* shown;
    } cases[] = {{u"q", u"Q"}, {u"xy", u"X"}, {u"\uFF2B", u"K"}, {u"\uFF17", u"7"}};
    for (const Case& c : cases) {
        OpenSettings();
        ReplaceLetter(u"");
        for (const char16_t* ch = c.typed; *ch; ++ch) device.Post(Control(104).hwnd, WM_CHAR, *ch);
        device.RunUntilIdle();
        EXPECT_EQ(Control(104).text, c.shown) << sim::ToUtf8(c.typed);
        device.PressKey(VK_RETURN);
        EXPECT_EQ(DataByte(kLetterAt), c.shown[0]) << sim::ToUtf8(c.typed);
        EXPECT_EQ(device.OpenMessageBox(), nullptr) << sim::ToUtf8(c.typed) << ": registered";
    }
    OpenSettings();
    EXPECT_FALSE(device.InputMethodComposesFor(Control(104).hwnd)) << "the letter box takes keys, not words";
    device.PressKey(VK_ESCAPE);
}

TEST_F(TrayUiTest, EscapeAtAFirstStartWithNothingSetIsNoFailure) {
    StartFirstTime();
    OpenSettings();
    Tap(108);
    Tap(108);
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(device.OpenMessageBox(), nullptr) << "nothing was set, so nothing failed";
    EXPECT_EQ(device.FileBytes(kDataPath), DefaultDataFile());

    OpenSettings();
    device.PressKey(VK_RETURN);
    ASSERT_NE(device.OpenMessageBox(), nullptr) << "OK without a modifier is still refused";
    EXPECT_EQ(device.OpenMessageBox()->text, kHotKeyFailed);
}
