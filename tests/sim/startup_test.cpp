// Starting, running and ending Zarvic on the device.
#include "zarvic_device.h"

#include "platform/sim/editor.h"
#include "platform/sim/sim_api.h"

using namespace zarvic_test;

TEST_F(ZarvicTest, FirstStartShowsTheHintOnceAndWritesTheDefaultsAtExit) {
    StartZarvic();
    ASSERT_TRUE(device.IsRunning(zarvic));
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, kStartupHint);
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_EQ(box->style, 0x10040u);
    EXPECT_EQ(box->owner, MainWindow());
    EXPECT_TRUE(device.Calls("RegisterHotKey").empty()) << "no modifier: the system is not asked";

    device.AnswerMessageBox(IDOK);
    device.Advance(1000);
    EXPECT_EQ(device.MessageBoxes().size(), 1u);
    EXPECT_TRUE(device.Calls("SetTimer").empty()) << "no polling without a hot-key";

    CloseZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_EQ(device.FileBytes(kDataPath), DefaultDataFile());
    EXPECT_TRUE(device.Calls("UnregisterHotKey").empty());
    EXPECT_FALSE(device.Calls("KillTimer").empty());
    ExpectNoLeaks();
}

TEST_F(ZarvicTest, SecondCopyExitsAtOnceAndLeavesTheFirstAlone) {
    StartWithHotKey();
    HWND main = MainWindow();
    size_t windows = device.Windows().size();
    size_t boxes = device.MessageBoxes().size();

    int second = device.StartProgram(kExePath, &WinMain, {kZarvicResources, kZarvicResourcesSize});
    EXPECT_EQ(device.ExitCode(second), 0);
    EXPECT_EQ(device.Windows().size(), windows);
    EXPECT_EQ(device.MessageBoxes().size(), boxes);
    EXPECT_TRUE(device.Calls("RegisterClassW", second).empty());
    EXPECT_TRUE(device.IsRunning(zarvic));
    EXPECT_EQ(MainWindow(), main);
    EXPECT_TRUE(device.MutexExists(u"ZARVIC"));
}

// Started from a shortcut or the Startup folder, Zarvic must not take the keyboard from
// the application the person is typing in.
TEST_F(ZarvicTest, StartingLeavesTheForegroundApplicationItsKeys) {
    HWND editor = device.StartEditor();
    StartWithHotKey();
    EXPECT_EQ(device.Foreground(), editor);
    device.TypeText(u"ok");
    EXPECT_EQ(device.EditorText(editor), u"ok");
}

TEST_F(ZarvicTest, MainWindowIsAHiddenToolWindowFarOffTheScreenAtTheBottom) {
    StartWithHotKey();
    auto info = device.Window(MainWindow());
    ASSERT_TRUE(info);
    EXPECT_EQ(info->title, kTitle);
    EXPECT_EQ(info->style, static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(info->exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(info->rect.left, 20000);
    EXPECT_EQ(info->rect.top, 20000);
    EXPECT_EQ(info->rect.right - info->rect.left, 100);
    EXPECT_EQ(device.ZOrder().back(), MainWindow());
    auto moves = device.Calls("SetWindowPos", zarvic);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back().args[1], reinterpret_cast<intptr_t>(HWND_BOTTOM));
    EXPECT_EQ(moves.back().args[6], 0x53);
}

TEST_F(ZarvicTest, TrayIconComesWithTheWindowAndGoesWithIt) {
    StartWithHotKey();
    auto adds = device.Calls("Shell_NotifyIcon", zarvic);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].args[0], NIM_ADD);
    EXPECT_EQ(adds[0].args[1], 1);
    EXPECT_EQ(adds[0].args[2], NIF_MESSAGE | NIF_ICON | NIF_TIP);
    EXPECT_EQ(adds[0].text, u"ZarvicEx");
    CloseZarvic();
    auto calls = device.Calls("Shell_NotifyIcon", zarvic);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].args[0], NIM_DELETE);
    ExpectNoLeaks();
}

TEST_F(ZarvicTest, MutexFailureEndsWithCodeZeroBeforeAnythingElse) {
    device.FailNext(sim::FaultPoint::MutexCreation, 0, true);
    StartZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_TRUE(device.Windows(zarvic).empty());
    EXPECT_TRUE(device.MessageBoxes().empty());
    EXPECT_FALSE(device.Exists(kDataPath));
    EXPECT_TRUE(device.Calls("CreateFileW", zarvic).empty()) << "nothing is even read before the mutex";
}

class StartUpFault : public ZarvicTest, public ::testing::WithParamInterface<int> {};

TEST_P(StartUpFault, ClosesTheMutexAndSavesNothing) {
    if (GetParam() == 0)
        device.FailNext(sim::FaultPoint::ClassRegistration);
    else
        device.FailNext(sim::FaultPoint::WindowCreation);
    StartZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_FALSE(device.Exists(kDataPath));
    EXPECT_FALSE(device.MutexExists(u"ZARVIC")) << "a later start must not be refused";
    EXPECT_TRUE(device.MessageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(ClassOrWindow, StartUpFault, ::testing::Values(0, 1));

TEST_F(ZarvicTest, MessageLoopFailureEndsWithoutDestroyingButStillSaves) {
    StartWithHotKey();
    device.FailNext(sim::FaultPoint::MessageRetrieval);
    device.Post(MainWindow(), WM_NULL);
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_TRUE(device.Calls("UnregisterHotKey", zarvic).empty()) << "WM_DESTROY must not have run";
    for (const sim::Call& c : device.Calls("Shell_NotifyIcon", zarvic)) EXPECT_NE(c.args[0], NIM_DELETE);
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
    ExpectNoLeaks();
}

TEST_F(ZarvicTest, ExitPathsAllDestroyTheWindowAndUnregisterTheHotKey) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.Post(main, WM_COMMAND, 121);
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    auto unregister = device.Calls("UnregisterHotKey", zarvic);
    ASSERT_EQ(unregister.size(), 1u);
    EXPECT_EQ(unregister[0].args[1], 100);
    EXPECT_FALSE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C')) << "the combination is free again";
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
}
