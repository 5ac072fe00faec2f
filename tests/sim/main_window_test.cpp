// The main window's routing: what it does with each message, and what it leaves alone.
#include "zarvic_device.h"

#include "app/app.h"
#include "core/runtime.h"
#include "platform/sim/sim_api.h"

using namespace zarvic_test;

TEST_F(ZarvicTest, HotKeyRegistrationFollowsTheSettingsAndStartsPolling) {
    StartWithHotKey(u'C', true, true, false);
    auto registered = device.Calls("RegisterHotKey", zarvic);
    ASSERT_EQ(registered.size(), 1u);
    EXPECT_EQ(registered[0].args[0], reinterpret_cast<intptr_t>(MainWindow()));
    EXPECT_EQ(registered[0].args[1], 100);
    EXPECT_EQ(registered[0].args[2], MOD_ALT | MOD_CONTROL);
    EXPECT_EQ(registered[0].args[3], 0x43);
    EXPECT_TRUE(device.MessageBoxes().empty());
    EXPECT_NE(g_hotKeyRegistered, 0);

    // The poll timer is one-shot: each tick kills it and sets it again after the poll.
    device.ClearCalls();
    device.Advance(900);
    EXPECT_EQ(device.Calls("KillTimer", zarvic).size(), 3u);
    auto set = device.Calls("SetTimer", zarvic);
    ASSERT_EQ(set.size(), 3u);
    EXPECT_EQ(set[0].args[1], 126);
    EXPECT_EQ(set[0].args[2], 300);
}

TEST_F(ZarvicTest, ARefusedHotKeyShowsTheHintAndNeverPolls) {
    device.HoldHotKeyElsewhere(MOD_ALT | MOD_CONTROL, 'C');
    StartWithHotKey(u'C', true, true, false);
    ASSERT_EQ(device.Calls("RegisterHotKey", zarvic).size(), 1u);
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, kStartupHint);
    device.AnswerMessageBox(IDOK);
    device.Advance(1000);
    EXPECT_TRUE(device.Calls("SetTimer", zarvic).empty());
    CloseZarvic();
    EXPECT_TRUE(device.Calls("UnregisterHotKey", zarvic).empty()) << "never unregister what was refused";
}

TEST_F(ZarvicTest, AHotKeyWithoutLetterIsRefusedWithoutAskingTheSystem) {
    std::vector<uint8_t> file = DataFileWithHotKey(0, true, false, false);
    device.PlaceFile(kDataPath, file);
    StartZarvic();
    EXPECT_TRUE(device.Calls("RegisterHotKey", zarvic).empty());
    EXPECT_NE(device.OpenMessageBox(), nullptr);
}

TEST_F(ZarvicTest, MessagesOutsideTheRoutingTableDoNothing) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.ClearCalls();
    EXPECT_EQ(device.Send(main, WM_TIMER, 125), 0);
    EXPECT_EQ(device.Send(main, WM_HOTKEY, 101), 0);
    EXPECT_EQ(device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONDOWN), 0);
    EXPECT_EQ(device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONDBLCLK), 0);
    for (int id : {119, 126, 198, 240}) EXPECT_EQ(device.Send(main, WM_COMMAND, static_cast<WPARAM>(id)), 0);
    EXPECT_TRUE(device.Calls("PostMessageW", zarvic).empty());
    EXPECT_TRUE(device.Calls("KillTimer", zarvic).empty());
    EXPECT_TRUE(device.Calls("SetWindowPos", zarvic).empty());
    EXPECT_TRUE(device.Calls("TrackPopupMenuEx", zarvic).empty());
    EXPECT_TRUE(device.IsRunning(zarvic));
}

TEST_F(ZarvicTest, ATrayTapPostsTheOpenMenuMessageOnlyOnButtonUp) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.ClearCalls();
    device.Send(main, WM_TRAY_CALLBACK, 1, WM_LBUTTONUP);
    auto posted = device.Calls("PostMessageW", zarvic);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].args[1], WM_OPEN_TRAY_MENU);
    EXPECT_EQ(posted[0].args[2], 1);
    EXPECT_EQ(posted[0].args[3], WM_LBUTTONUP);
}

TEST_F(ZarvicTest, CancelRunsTheHideStep) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.Post(main, WM_COMMAND, 122);
    EXPECT_TRUE(device.Calls("Sleep", zarvic).empty()) << "no pause where the activation has already left";
    SetForegroundWindow(main);  // as the history menu leaves it
    device.ClearCalls();
    device.Post(main, WM_COMMAND, 122);
    const auto& calls = device.Calls();
    std::vector<std::string> names;
    for (const sim::Call& c : calls)
        if (c.program == zarvic && (c.name == "SetWindowPos" || c.name == "Sleep" || c.name == "ShowWindow"))
            names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"SetWindowPos", "Sleep", "ShowWindow"}));
    auto moves = device.Calls("SetWindowPos", zarvic);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0].args[1], reinterpret_cast<intptr_t>(HWND_BOTTOM));
    EXPECT_EQ(moves[0].args[6], 0x53);
    EXPECT_EQ(device.Calls("Sleep", zarvic)[0].args[0], 10);
    EXPECT_EQ(device.Calls("ShowWindow", zarvic)[0].args[1], SW_HIDE);
    EXPECT_FALSE(device.Window(main)->visible);
}

TEST_F(ZarvicTest, HotKeyIsIgnoredWhileADialogOrMenuIsOpen) {
    StartWithHotKey();
    g_dialogOpen = 1;
    device.ClearCalls();
    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    EXPECT_TRUE(device.Calls("SetForegroundWindow", zarvic).empty());
    EXPECT_TRUE(device.Calls("CreatePopupMenu", zarvic).empty());
    g_dialogOpen = 0;
    g_menuOpen = 1;
    device.Post(MainWindow(), WM_OPEN_TRAY_MENU, 1, WM_LBUTTONUP);
    EXPECT_TRUE(device.Calls("SetForegroundWindow", zarvic).empty());
    g_menuOpen = 0;
}
