// The main window's routing: what it does with each message, and what it leaves alone.
#include "zarvic_device.h"

#include "app/app.h"
#include "core/runtime.h"
#include "platform/sim/menu.h"
#include "platform/sim/sim_api.h"

using namespace zarvic_test;

TEST_F(ZarvicTest, HotKeyRegistrationFollowsTheSettingsAndStartsPolling) {
    StartWithHotKey(u'C', true, true, false);
    auto held = device.HotKeys(MainWindow());
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].id, HOTKEY_ID_HISTORY);
    EXPECT_EQ(held[0].modifiers, static_cast<UINT>(MOD_ALT | MOD_CONTROL));
    EXPECT_EQ(held[0].vk, static_cast<UINT>('C'));
    EXPECT_TRUE(device.MessageBoxes().empty());
    EXPECT_NE(g_hotKeyRegistered, 0);
    EXPECT_EQ(PollInterval(), static_cast<UINT>(POLL_INTERVAL_MS));
    device.Advance(900);
    EXPECT_EQ(PollInterval(), static_cast<UINT>(POLL_INTERVAL_MS)) << "each tick arms the next";
}

TEST_F(ZarvicTest, ARefusedHotKeyShowsTheHintAndNeverPolls) {
    device.HoldHotKeyElsewhere(MOD_ALT | MOD_CONTROL, 'C');
    StartWithHotKey(u'C', true, true, false);
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty());
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, kStartupHint);
    device.AnswerMessageBox(IDOK);
    device.Advance(1000);
    EXPECT_EQ(PollInterval(), 0u);
    EXPECT_EQ(g_hotKeyRegistered, 0);
}

TEST_F(ZarvicTest, AHotKeyWithoutLetterIsRefusedWithoutAskingTheSystem) {
    std::vector<uint8_t> file = DataFileWithHotKey(0, true, false, false);
    device.PlaceFile(kDataPath, file);
    StartZarvic();
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty());
    EXPECT_NE(device.OpenMessageBox(), nullptr);
}

TEST_F(ZarvicTest, MessagesOutsideTheRoutingTableDoNothing) {
    StartWithHotKey();
    HWND main = MainWindow();
    std::vector<HWND> order = device.ZOrder();
    size_t windows = device.Windows().size();
    EXPECT_EQ(device.Send(main, WM_TIMER, TIMER_ID_POLL - 1), 0);
    EXPECT_EQ(device.Send(main, WM_HOTKEY, HOTKEY_ID_HISTORY + 1), 0);
    EXPECT_EQ(device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK), 0);
    for (int id : {IDM_ABOUT - 1, IDM_UNINSTALL + 1, IDM_CLEAR - 1, IDM_HISTORY_LAST + 1})
        EXPECT_EQ(device.Send(main, WM_COMMAND, static_cast<WPARAM>(id)), 0);
    device.RunUntilIdle();
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(device.Windows().size(), windows);
    EXPECT_TRUE(device.MessageBoxes().empty());
    EXPECT_EQ(device.ZOrder(), order);
    EXPECT_EQ(PollInterval(), static_cast<UINT>(POLL_INTERVAL_MS));
    EXPECT_TRUE(device.IsRunning(zarvic));
}

TEST_F(ZarvicTest, ATrayTapOpensTheMenuOnlyOnButtonUp) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN);
    EXPECT_FALSE(device.OpenMenu());
    device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    EXPECT_TRUE(device.OpenMenu());
}

// Hiding hands the activation to the window on top, so the move to the bottom comes first
// and the window manager gets a moment to act on it.
TEST_F(ZarvicTest, CancelRunsTheHideStep) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.Post(main, WM_COMMAND, IDM_CANCEL);
    EXPECT_TRUE(device.Calls("Sleep", zarvic).empty()) << "no pause where the activation has already left";
    SetForegroundWindow(main);  // as the history menu leaves it
    device.ClearCalls();
    device.Post(main, WM_COMMAND, IDM_CANCEL);
    std::vector<std::string> names;
    for (const sim::Call& c : device.Calls())
        if (c.program == zarvic && (c.name == "SetWindowPos" || c.name == "Sleep" || c.name == "ShowWindow"))
            names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"SetWindowPos", "Sleep", "ShowWindow"}));
    EXPECT_EQ(device.ZOrder().back(), main);
    EXPECT_EQ(device.Window(main)->rect.left, PARK_X) << "not moved";
    EXPECT_FALSE(device.Window(main)->visible);
}

TEST_F(ZarvicTest, HotKeyIsIgnoredWhileADialogOrMenuIsOpen) {
    StartWithHotKey();
    HWND front = device.Foreground();
    g_dialogOpen = 1;
    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(device.Foreground(), front);
    g_dialogOpen = 0;
    g_menuOpen = 1;
    device.Post(MainWindow(), WM_OPEN_TRAY_MENU, 1, WM_LBUTTONUP);
    EXPECT_FALSE(device.OpenMenu());
    EXPECT_EQ(device.Foreground(), front);
    g_menuOpen = 0;
}
