// The About box with its links, and the help file.
#include "app/app.h"
#include "history/history.h"
#include "platform/sim/menu.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"

using namespace zarvic_test;

TEST_F(TrayUiTest, AboutShowsTheVersionBesideItsLabelCentredInTheForeground) {
    StartWithHotKey();
    size_t windows = ZarvicWindows();
    HWND dialog = OpenAbout();
    ASSERT_NE(dialog, nullptr);
    auto info = device.Window(dialog);
    EXPECT_EQ(info->title, u"ﾊﾞｰｼﾞｮﾝ情報");
    EXPECT_EQ(device.Foreground(), dialog);
    int width = info->rect.right - info->rect.left, height = info->rect.bottom - info->rect.top;
    EXPECT_EQ(info->rect.left, (800 - width) / 2);
    EXPECT_EQ(info->rect.top, (480 - height) / 2);

    EXPECT_EQ(Control(100).text, u"0.30");
    sim::ControlInfo label{};
    for (const sim::ControlInfo& c : device.DialogControls(dialog))
        if (c.text == u"Zarvic for sigmarionⅢ  Version") label = c;
    ASSERT_NE(label.hwnd, nullptr);
    EXPECT_GE(Control(100).rect.left, label.rect.right) << "the version stands to the right of its label";
    EXPECT_EQ(Control(100).rect.top, label.rect.top);

    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.Dialogs().back().result, IDOK);
    EXPECT_EQ(device.OpenDialog(), nullptr);
    EXPECT_FALSE(device.Window(MainWindow())->visible) << "the hide step follows the dialog";
    EXPECT_TRUE(device.ShellExecutions().empty());
    ExpectNothingLeft(windows);
}

TEST_F(TrayUiTest, AboutLinksOpenMailAndWebAndCloseTheBox) {
    StartWithHotKey();
    HWND dialog = OpenAbout();
    Tap(102);
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    const sim::ShellExecution& mail = device.ShellExecutions()[0];
    EXPECT_EQ(mail.file, u"mailto:support@zarvic.example");
    EXPECT_EQ(mail.verb, u"open");
    EXPECT_EQ(mail.hwnd, dialog);
    EXPECT_EQ(mail.nShow, SW_SHOWNORMAL);
    EXPECT_EQ(mail.fMask, 0u);
    EXPECT_EQ(mail.cbSize, sizeof(SHELLEXECUTEINFO));
    EXPECT_FALSE(mail.hasParameters);
    EXPECT_FALSE(mail.hasDirectory);
    EXPECT_EQ(device.Dialogs().back().result, IDOK);
    EXPECT_EQ(device.OpenDialog(), nullptr);

    // A link the shell cannot open still closes the box.
    device.FailNext(sim::FaultPoint::ShellExecute);
    OpenAbout();
    Tap(103);
    ASSERT_EQ(device.ShellExecutions().size(), 2u);
    EXPECT_EQ(device.ShellExecutions()[1].file, u"https://zarvic.example/");
    EXPECT_FALSE(device.ShellExecutions()[1].succeeded);
    EXPECT_EQ(device.Dialogs().back().result, IDOK);

    OpenAbout();
    device.PressKey(VK_ESCAPE);
    EXPECT_EQ(device.Dialogs().back().result, IDCANCEL);
}

TEST_F(TrayUiTest, AboutLinkCaptionsAreCutTo99Characters) {
    StartWithHotKey();
    HWND dialog = OpenAbout();
    std::u16string address = std::u16string(150, u'm') + u"@zarvic.example";
    HWND mailButton = GetDlgItem(dialog, 102);
    SetWindowTextW(mailButton, address.c_str());
    device.RunUntilIdle();
    Tap(102);
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, u"mailto:" + address.substr(0, 99));
}

TEST_F(TrayUiTest, WhileAboutIsOpenPollingGoesOnAndTheHotKeyIsIgnored) {
    StartWithHotKey(u'C', true, true, false);
    OpenAbout();
    device.PutClipboardText(u"copied meanwhile");
    device.Advance(1000);
    ASSERT_NE(g_historySlots[0], nullptr) << "polling goes on";
    EXPECT_EQ(std::u16string(g_historySlots[0]), u"copied meanwhile");
    EXPECT_TRUE(device.PressHotKey(MOD_ALT | MOD_CONTROL, 'C')) << "the hot-key stays registered";
    EXPECT_FALSE(device.OpenMenu()) << "no history menu over the dialog";
    EXPECT_TRUE(HoldsHotKey(MOD_ALT | MOD_CONTROL, 'C'));
    EXPECT_NE(device.OpenDialog(), nullptr);
    device.PressKey(VK_RETURN);
    EXPECT_EQ(device.OpenDialog(), nullptr);
}

TEST_F(TrayUiTest, HelpOpensTheFileBesideTheExecutableOnlyWhenItIsAFile) {
    StartWithHotKey();
    Command(IDM_HELP);
    EXPECT_TRUE(device.ShellExecutions().empty()) << "no help file: nothing happens";

    device.PlaceDirectory(kHelpPath);
    Command(IDM_HELP);
    EXPECT_TRUE(device.ShellExecutions().empty()) << "a folder of that name is no help file";

    device.RemoveFileOrFolder(kHelpPath);
    device.PlaceFile(kHelpPath, {'<', 'p', '>'});
    Command(IDM_HELP);
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, kHelpPath);
    EXPECT_EQ(device.ShellExecutions()[0].verb, u"open");
    EXPECT_FALSE(device.ShellExecutions()[0].hasParameters);
    EXPECT_EQ(device.ShellExecutions()[0].hwnd, MainWindow());
    EXPECT_TRUE(device.ShellExecutions()[0].succeeded);
    EXPECT_TRUE(device.Window(MainWindow())->visible) << "no hide step after Help";
}
