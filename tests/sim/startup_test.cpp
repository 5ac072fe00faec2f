// Starting, running and ending Zarvic on the device.
#include "zarvic_device.h"

#include "platform/sim/editor.h"
#include "core/runtime.h"
#include "platform/sim/sim_api.h"
#include "platform/sim/tray.h"

using namespace zarvic_test;

TEST_F(ZarvicTest, FirstStartShowsTheHintOnceAndWritesTheDefaultsAtExit) {
    StartZarvic();
    ASSERT_TRUE(device.IsRunning(zarvic));
    const sim::MessageBoxRecord* box = device.OpenMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text, kStartupHint);
    EXPECT_EQ(box->caption, kTitle);
    EXPECT_EQ(box->style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND));
    EXPECT_EQ(box->owner, MainWindow());
    EXPECT_TRUE(device.HotKeys(MainWindow()).empty()) << "no modifier: no hot-key";

    device.AnswerMessageBox(IDOK);
    device.Advance(1000);
    EXPECT_EQ(device.MessageBoxes().size(), 1u);
    EXPECT_EQ(PollInterval(), 0u) << "no polling without a hot-key";

    CloseZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_EQ(device.FileBytes(kDataPath), DefaultDataFile());
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
    EXPECT_TRUE(info->visible) << "shown at the bottom, where it can hand on the activation";
}

TEST_F(ZarvicTest, TrayIconComesWithTheWindowAndGoesWithIt) {
    StartWithHotKey();
    ASSERT_EQ(device.TrayIcons().size(), 1u);
    EXPECT_EQ(device.TrayIcons()[0].hwnd, MainWindow());
    EXPECT_EQ(device.TrayIcons()[0].tip, u"ZarvicEx");
    CloseZarvic();
    EXPECT_TRUE(device.TrayIcons().empty());
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
    EXPECT_EQ(device.TrayIcons().size(), 1u) << "WM_DESTROY must not have run";
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
    ExpectNoLeaks();
}

TEST_F(ZarvicTest, ExitPathsAllDestroyTheWindowAndUnregisterTheHotKey) {
    StartWithHotKey();
    HWND main = MainWindow();
    device.Post(main, WM_COMMAND, IDM_EXIT);
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_FALSE(device.Window(main));
    EXPECT_TRUE(device.HotKeys(main).empty());
    EXPECT_FALSE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C')) << "the combination is free again";
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
}
