// The tray icon and its menu.
#include "app/app.h"
#include "core/runtime.h"
#include "platform/sim/editor.h"
#include "platform/sim/menu.h"
#include "platform/sim/resources.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"
#include "ui/tray.h"

using namespace zarvic_test;

namespace {

class TrayTest : public TrayUiTest {
protected:
    // What Zarvic posted to itself since call number `since`: message and wParam.
    std::vector<std::pair<UINT, WPARAM>> PostedSince(size_t since) const {
        std::vector<std::pair<UINT, WPARAM>> out;
        for (const sim::Call& c : CallsSince(since, "PostMessageW"))
            out.emplace_back(static_cast<UINT>(c.args[1]), static_cast<WPARAM>(c.args[2]));
        return out;
    }
    // Opens the tray menu with a tap on the icon and returns it.
    sim::OpenMenuInfo OpenTrayMenu() {
        EXPECT_TRUE(device.TapTrayIcon(1));
        auto menu = device.OpenMenu();
        EXPECT_TRUE(menu.has_value());
        return menu.value_or(sim::OpenMenuInfo{});
    }
};

const std::pair<UINT, WPARAM> kNull{WM_NULL, 0};
using Posted = std::vector<std::pair<UINT, WPARAM>>;

}  // namespace

TEST_F(TrayTest, TheIconCarriesItsTipAndSmallImageAndComesBackWithTheTaskbar) {
    StartWithHotKey();
    ASSERT_EQ(device.TrayIcons().size(), 1u);
    const sim::TrayIcon& icon = device.TrayIcons()[0];
    EXPECT_EQ(icon.tip, u"ZarvicEx");
    EXPECT_EQ(icon.id, 1u);
    EXPECT_EQ(icon.hwnd, MainWindow());
    EXPECT_EQ(icon.callbackMessage, static_cast<UINT>(WM_TRAY_CALLBACK));
    EXPECT_TRUE(icon.hasIcon);
    EXPECT_EQ(icon.iconWidth, 16);
    EXPECT_TRUE(device.LiveIconObjects(zarvic).empty()) << "the program's copy of the image is destroyed";

    device.RestartTaskbar();
    ASSERT_EQ(device.TrayIcons().size(), 1u) << "the icon is added again for the new taskbar";
    EXPECT_EQ(device.TrayIcons()[0].tip, u"ZarvicEx");
    EXPECT_TRUE(device.LiveIconObjects(zarvic).empty());
}

TEST_F(TrayTest, ATapOpensTheMenuOnceAtTheBottomRightOfTheWorkArea) {
    StartWithHotKey();
    size_t since = device.Calls().size();
    sim::OpenMenuInfo menu = OpenTrayMenu();
    // Only the button-up asks for the menu, and only by a posted message.
    auto posted = PostedSince(since);
    ASSERT_GE(posted.size(), 1u);
    EXPECT_EQ(posted[0], (std::pair<UINT, WPARAM>{WM_OPEN_TRAY_MENU, 1}));
    EXPECT_EQ(menu.owner, MainWindow());
    EXPECT_EQ(menu.rect.right, 800);
    EXPECT_EQ(menu.rect.bottom, 454);
    EXPECT_EQ(device.Foreground(), MainWindow());

    ASSERT_EQ(menu.items.size(), 7u);
    const UINT ids[] = {IDM_SETTING, IDM_HELP, IDM_ABOUT, 0, IDM_EXIT, 0, IDM_UNINSTALL};
    const char16_t* labels[] = {u"Setting (&S)", u"Help (&H)", u"About (&A)", u"", u"Zarvic 終了 (&X)", u"",
                                u"Uninstall (&U)"};
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(menu.items[i].id, ids[i]) << i;
        EXPECT_EQ(menu.items[i].text, labels[i]) << i;
    }
    EXPECT_EQ(menu.items[3].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(menu.items[5].flags & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(menu.items[1].flags, static_cast<UINT>(MF_GRAYED)) << "no help file";
    EXPECT_EQ(menu.items[0].flags, static_cast<UINT>(MF_STRING));

    // Dismissing it posts nothing but WM_NULL and leaves no menu behind.
    since = device.Calls().size();
    device.TapOutsideMenu();
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(PostedSince(since), Posted{kNull});
    EXPECT_EQ(device.LiveMenus(zarvic), 0u);
    EXPECT_EQ(device.OpenDialog(), nullptr);
    EXPECT_TRUE(device.IsRunning(zarvic));
}

TEST_F(TrayTest, DismissingTheMenuGivesTheForegroundBackToWhereThePersonWasTyping) {
    StartWithHotKey();
    HWND editor = device.StartEditor();
    ASSERT_EQ(device.Foreground(), editor);
    OpenTrayMenu();
    EXPECT_EQ(device.Foreground(), MainWindow());
    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(device.Foreground(), editor);
    device.TypeText(u"still here");
    EXPECT_EQ(device.EditorText(editor), u"still here");
}

TEST_F(TrayTest, ExitEndsZarvicFromItsLoopAndTakesTheIconAlong) {
    StartWithHotKey();
    OpenTrayMenu();
    size_t since = device.Calls().size();
    device.TapMenuItem(4);
    auto posted = PostedSince(since);
    ASSERT_GE(posted.size(), 2u);
    EXPECT_EQ(posted[0], (std::pair<UINT, WPARAM>{WM_COMMAND, IDM_EXIT}));
    EXPECT_EQ(posted[1], kNull);
    EXPECT_FALSE(device.IsRunning(zarvic));
    EXPECT_TRUE(device.TrayIcons().empty());
    EXPECT_TRUE(device.Exists(kDataPath)) << "an ordinary exit saves the settings";
    ExpectNoLeaks();
}

TEST_F(TrayTest, HelpIsGreyedUntilTheFileIsThereWithoutARestart) {
    StartWithHotKey();
    device.PlaceDirectory(kHelpPath);
    OpenTrayMenu();
    size_t since = device.Calls().size();
    device.TapMenuItem(1);
    EXPECT_TRUE(device.OpenMenu()) << "a greyed item cannot be chosen";
    device.TapOutsideMenu();
    EXPECT_EQ(PostedSince(since), Posted{kNull});

    device.RemoveFileOrFolder(kHelpPath);
    device.PlaceFile(kHelpPath, {'<', 'p', '>'});
    sim::OpenMenuInfo menu = OpenTrayMenu();
    EXPECT_EQ(menu.items[1].flags, static_cast<UINT>(MF_STRING));
    device.TapMenuItem(1);
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, kHelpPath);
}

TEST_F(TrayTest, TheMenuStaysShutWhileADialogOrAMenuIsOpen) {
    StartWithHotKey(u'C', true, true, false);
    OpenSettings();
    ASSERT_NE(device.OpenDialog(), nullptr);
    EXPECT_TRUE(device.TapTrayIcon(1));
    EXPECT_FALSE(device.OpenMenu()) << "not over the settings dialog";
    device.PressKey(VK_ESCAPE);

    OpenAbout();
    EXPECT_TRUE(device.TapTrayIcon(1));
    EXPECT_FALSE(device.OpenMenu()) << "not over the About box";
    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(device.OpenMenu()) << "nor once it has closed";

    OpenTrayMenu();
    device.Post(MainWindow(), WM_OPEN_TRAY_MENU, 1, WM_LBUTTONUP);
    device.TapOutsideMenu();
    EXPECT_FALSE(device.OpenMenu()) << "not over the tray menu itself, nor after it";

    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    ASSERT_TRUE(device.OpenMenu()) << "the history menu";
    HWND history = device.OpenMenu()->window;
    EXPECT_TRUE(device.TapTrayIcon(1));
    EXPECT_EQ(device.OpenMenu()->window, history) << "not over the history menu";
    device.PressKey(VK_ESCAPE);
    EXPECT_FALSE(device.OpenMenu()) << "nor after it";
    EXPECT_EQ(device.LiveMenus(zarvic), 0u);
}

TEST_F(TrayTest, MenuCommandsRunAfterTheMenuHasClosed) {
    StartWithHotKey();
    size_t windows = ZarvicWindows();
    OpenTrayMenu();
    device.TapMenuItem(0);
    EXPECT_FALSE(device.OpenMenu());
    ASSERT_NE(device.OpenDialog(), nullptr);
    EXPECT_EQ(device.Window(device.OpenDialog())->title, u"SETTING");
    device.PressKey(VK_ESCAPE);

    OpenTrayMenu();
    device.TapMenuItem(2);
    ASSERT_NE(device.OpenDialog(), nullptr);
    EXPECT_EQ(device.Window(device.OpenDialog())->title, u"ﾊﾞｰｼﾞｮﾝ情報");
    device.PressKey(VK_RETURN);

    OpenTrayMenu();
    device.TapMenuItem(6);
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    device.AnswerMessageBox(IDNO);
    EXPECT_TRUE(device.IsRunning(zarvic));
    EXPECT_EQ(device.LiveMenus(zarvic), 0u);
    ExpectNothingLeft(windows);
}

TEST_F(TrayTest, WithoutAWorkAreaTheMenuSitsAtTheScreensCorner) {
    StartWithHotKey();
    device.FailNext(sim::FaultPoint::WorkAreaQuery, 0, true);
    sim::OpenMenuInfo menu = OpenTrayMenu();
    EXPECT_EQ(menu.rect.right, 800);
    EXPECT_EQ(menu.rect.bottom, 480);
    device.TapOutsideMenu();
}

// At sign-in the taskbar may not be there yet when Zarvic starts; the icon comes once it
// is, whether or not the taskbar tells anyone.
TEST_F(TrayTest, AnIconThatCouldNotBeAddedIsAddedOnceTheTaskbarIsThere) {
    device.StopTaskbar();
    StartWithHotKey();
    EXPECT_TRUE(device.TrayIcons().empty());
    device.Advance(10000);
    EXPECT_TRUE(device.TrayIcons().empty());

    device.StartTaskbar(false);
    device.Advance(2000);
    ASSERT_EQ(device.TrayIcons().size(), 1u);
    EXPECT_EQ(device.TrayIcons()[0].tip, u"ZarvicEx");
    for (const sim::TimerInfo& t : device.Timers(MainWindow()))
        EXPECT_NE(t.id, static_cast<UINT_PTR>(TIMER_ID_TRAY_RETRY)) << "no more tries once it took";
    OpenTrayMenu();
    device.TapOutsideMenu();
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_TRUE(device.LiveIconObjects(zarvic).empty());
}
