// Where Zarvic looks for its files, and the small file and geometry helpers.
#include "zarvic_device.h"

#include "app/app.h"
#include "core/settings.h"
#include "core/util.h"
#include "platform/sim/sim_api.h"

using namespace zarvic_test;

TEST_F(ZarvicTest, AnExecutablePathWithoutBackslashKeepsTheWholePathAsItsDirectory) {
    device.PlaceFile(u"\\Zarvic.exe", {'M', 'Z'});
    zarvic = device.StartProgram(u"Zarvic.exe", &WinMain, {kZarvicResources, kZarvicResourcesSize});
    EXPECT_EQ(std::u16string(g_szExeDir), u"Zarvic.exe");
    EXPECT_EQ(std::u16string(g_szDataPath), u"Zarvic.exe\\ZarvicDat.bin");
    EXPECT_EQ(std::u16string(g_szHelpPath), u"Zarvic.exe\\Zarvic.htm");
}

TEST_F(ZarvicTest, DerivedPathsThatWouldNotFitStayEmptySoNothingIsWrittenUnderACutName) {
    // 250 units of folder: the executable fits, the folder with "\Zarvic.htm" (11) or "\ZarvicDat.bin" (14) does not.
    std::u16string folder = u"\\" + std::u16string(249, u'd');
    std::u16string exe = folder + u"\\Z.exe";
    ASSERT_LT(exe.size(), 260u);
    device.PlaceFile(exe, {'M', 'Z'});
    StartZarvic(exe);
    EXPECT_EQ(std::u16string(g_szExePath), exe);
    EXPECT_EQ(std::u16string(g_szExeDir), folder);
    EXPECT_EQ(g_szDataPath[0], 0);
    EXPECT_EQ(g_szHelpPath[0], 0);
    device.AnswerMessageBox(IDOK);
    CloseZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    for (const sim::Call& c : device.Calls("CreateFileW", zarvic)) EXPECT_TRUE(c.text.empty()) << "no cut-off name is used";
}

TEST_F(ZarvicTest, AnExecutablePathLongerThanTheBufferIsNotUsedAtAll) {
    std::u16string exe = u"\\" + std::u16string(200, u'a') + u"\\" + std::u16string(80, u'b') + u".exe";
    device.PlaceFile(exe, {'M', 'Z'});
    StartZarvic(exe);
    EXPECT_EQ(g_szExePath[0], 0);
    EXPECT_EQ(g_szExeDir[0], 0);
    EXPECT_EQ(g_szDataPath[0], 0);
    device.AnswerMessageBox(IDOK);
    CloseZarvic();
    EXPECT_EQ(device.ExitCode(zarvic), 0);
}

TEST(JoinPath, FitsExactlyUpTo259UnitsAndNeverWritesPastTheBuffer) {
    WCHAR out[MAX_PATH + 8];
    for (auto& c : out) c = u'#';
    std::u16string dir(259 - 1 - 4, u'x');
    EXPECT_EQ(JoinPath(out, dir.c_str(), u"abcd"), 1);
    EXPECT_EQ(wcslen(out), 259u);
    EXPECT_EQ(JoinPath(out, dir.c_str(), u"abcde"), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[MAX_PATH], u'#');
}

TEST(FindLastChar, FindsTheLastOccurrenceOrNothing) {
    WCHAR path[] = u"\\Program Files\\Zarvic.exe";
    EXPECT_EQ(FindLastChar(path, u'\\'), path + 14);
    WCHAR plain[] = u"Zarvic.exe";
    EXPECT_EQ(FindLastChar(plain, u'\\'), nullptr);
    WCHAR empty[] = u"";
    EXPECT_EQ(FindLastChar(empty, u'\\'), nullptr);
    EXPECT_EQ(FindLastChar(empty, 0), nullptr) << "the terminator is never matched";
}

TEST_F(ZarvicTest, ExistenceTestsTellFilesFromDirectories) {
    device.PlaceFile(u"\\My Documents\\note.txt", {'x'});
    device.PlaceDirectory(u"\\My Documents\\folder");
    EXPECT_EQ(IsExistingFile(u"\\My Documents\\note.txt"), 1);
    EXPECT_EQ(IsExistingFile(u"\\MY DOCUMENTS\\NOTE.TXT"), 1);
    EXPECT_EQ(IsExistingFile(u"\\My Documents\\folder"), 0);
    EXPECT_EQ(IsExistingDirectory(u"\\My Documents\\folder"), 1);
    EXPECT_EQ(IsExistingDirectory(u"\\My Documents\\note.txt"), 0);
    EXPECT_EQ(IsExistingFile(u"\\My Documents\\missing"), 0);
    EXPECT_EQ(IsExistingFile(u""), 0);
    EXPECT_EQ(IsExistingDirectory(u""), 0);
    EXPECT_EQ(IsExistingFile(nullptr), 0);
    EXPECT_EQ(IsExistingDirectory(nullptr), 0);
}

TEST_F(ZarvicTest, ClientRectToScreenKeepsRightAndBottomExclusive) {
    StartWithHotKey();
    // A captioned, bordered window: its client area does not start at its corner.
    HWND main = MainWindow();
    SetWindowPos(main, nullptr, 7, 2, 100, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client{0, 0, 100, 50};
    EXPECT_EQ(ClientRectToScreen(main, &client), 1);
    EXPECT_EQ(client.left, 7);
    EXPECT_EQ(client.top, 2);
    EXPECT_EQ(client.right, 107);
    EXPECT_EQ(client.bottom, 52);
}

TEST(HotKeyLetter, AnEntryWithoutItsTerminatorIsReadAsTwoUnitsAtMost) {
    ApplyDefaultSettings();
    g_settings.hotKeyChar[0][0] = u'Q';
    g_settings.hotKeyChar[0][1] = u'Z';
    g_settings.hotKeyAlt[0] = 0x7777;  // the bytes that follow in the record
    WCHAR letter[3];
    CopyHotKeyChar(letter, 0);
    EXPECT_EQ(std::u16string(letter), u"QZ");
    g_settings.hotKeyChar[2][0] = 0;
    g_settings.hotKeyChar[2][1] = u'X';
    CopyHotKeyChar(letter, 2);
    EXPECT_EQ(std::u16string(letter), u"");
}
