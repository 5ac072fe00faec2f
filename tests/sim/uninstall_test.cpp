// Uninstall of an installed copy and of a loose copy, and the tree deletion under it.
#include "app/app.h"
#include "platform/sim/registry.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"
#include "ui/uninstall.h"

using namespace zarvic_test;

namespace {

const std::u16string kInstalledText =
    u"Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n"
    u"アプリケーションの削除ダイアログを起動しますので\nここで Telvory Zarvic を選択し削除ボタンを\n"
    u"タップしてください";
const std::u16string kLooseText =
    u"Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n"
    u"Zarvic のフォルダを開きますのでフォルダごと\n削除してください";
// The folder also holds the person's files: only the program is theirs to delete.
const std::u16string kLooseSharedText =
    u"Zarvic をアンインストールします\n\n    よろしいでしょうか？\n\n「はい」をタップすると関連データを削除した後に\n"
    u"Zarvic のフォルダを開きますので\nZarvic.exe を削除してください";
const std::u16string kInstallerKey = u"Software\\Apps\\Telvory Zarvic";

class UninstallTest : public TrayUiTest {
protected:
    // Zarvic's folder with its own files, a file and a folder of the person's, and links.
    void FillFolder() {
        device.PlaceFile(kHelpPath, {'<', 'p', '>'});
        device.PlaceFile(kExeDir + u"\\Letter.txt", {'h', 'i'});
        device.PlaceFile(kExeDir + u"\\Photos\\Beach.jpg", {1, 2, 3});
        device.PlaceShortcut(kDesktop + u"\\Zravic.lnk", kQuotedExe);
        device.PlaceShortcut(kDesktop + u"\\Zz copy.lnk", kQuotedExe);
        device.PlaceShortcut(kStartUp + u"\\Zarvic.lnk", kQuotedExe);
    }
    void ChooseUninstall(const std::u16string& expectedText, int answer) {
        Command(IDM_UNINSTALL);
        const sim::MessageBoxRecord* box = device.OpenMessageBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text, expectedText);
        EXPECT_EQ(box->caption, kTitle);
        EXPECT_EQ(box->style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND));
        EXPECT_EQ(box->owner, MainWindow());
        device.AnswerMessageBox(answer);
    }
};

}  // namespace

TEST_F(UninstallTest, AnsweringNoChangesNothing) {
    FillFolder();
    StartWithHotKey();
    ChooseUninstall(kLooseSharedText, IDNO);
    EXPECT_TRUE(device.IsRunning(zarvic));
    EXPECT_TRUE(device.Exists(kDataPath));
    EXPECT_TRUE(device.Exists(kHelpPath));
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Zravic.lnk"));
    EXPECT_TRUE(device.Exists(kStartUp + u"\\Zarvic.lnk"));
    EXPECT_TRUE(device.ShellExecutions().empty());
    CloseZarvic();
    EXPECT_TRUE(device.Exists(kDataPath)) << "an ordinary exit still saves";
}

TEST_F(UninstallTest, InstalledCopyEmptiesItsFolderAndHandsOverToTheControlPanel) {
    FillFolder();
    device.InstallApplication(u"Telvory Zarvic", u"\\PROGRAM FILES\\zarvic");
    StartWithHotKey();
    ChooseUninstall(kInstalledText, IDYES);

    EXPECT_EQ(device.FolderNames(kExeDir), std::vector<std::u16string>{u"Zarvic.exe"})
        << "only the running executable is left; subfolders are gone";
    EXPECT_FALSE(device.Exists(kDesktop + u"\\Zravic.lnk"));
    EXPECT_TRUE(device.Exists(kDesktop + u"\\Zz copy.lnk")) << "one link per folder is removed";
    EXPECT_FALSE(device.Exists(kStartUp + u"\\Zarvic.lnk"));
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, u"\\Windows\\ctlpnl.exe") << "by its full path";
    EXPECT_EQ(device.ShellExecutions()[0].parameters, u"cplmain.cpl,12");
    EXPECT_EQ(device.ShellExecutions()[0].verb, u"open");
    EXPECT_FALSE(device.IsRunning(zarvic)) << "Exit follows";
    EXPECT_EQ(device.ExitCode(zarvic), 0);
    EXPECT_FALSE(device.Exists(kDataPath)) << "no data file is written after an uninstall";
    EXPECT_TRUE(device.TrayIcons().empty());
    ExpectNoLeaks();
}

TEST_F(UninstallTest, LooseCopyRemovesOnlyItsOwnFilesAndOpensItsFolder) {
    FillFolder();
    device.InstallApplication(u"Telvory Zarvic", u"\\Program Files\\Zarvic Old");  // installed, then moved
    device.PlaceFile(kExeDir + u"\\ZarvicDat.new", {0});  // left by a save that was cut off
    StartWithHotKey();
    ChooseUninstall(kLooseSharedText, IDYES);

    EXPECT_EQ(device.FolderNames(kExeDir), (std::vector<std::u16string>{u"Letter.txt", u"Photos", u"Zarvic.exe"}))
        << "the person's files stay; the data file and the help file go";
    EXPECT_TRUE(device.Exists(kExeDir + u"\\Photos\\Beach.jpg"));
    EXPECT_FALSE(device.Exists(kDesktop + u"\\Zravic.lnk"));
    EXPECT_FALSE(device.Exists(kStartUp + u"\\Zarvic.lnk"));
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, kExeDir);
    EXPECT_FALSE(device.ShellExecutions()[0].hasParameters);
    EXPECT_TRUE(device.ShellExecutions()[0].succeeded);
    EXPECT_FALSE(device.IsRunning(zarvic));
    EXPECT_FALSE(device.Exists(kDataPath));
    ExpectNoLeaks();
}

// An installer record may name a folder that was never Zarvic's alone: from such a
// folder only Zarvic's own files go, as from a loose copy.
TEST_F(UninstallTest, InstalledCopyNeverEmptiesAFolderOfTheSystem) {
    device.MoveSpecialFolder(CSIDL_PERSONAL, u"\\Data\\Documents");
    for (const std::u16string folder : {u"\\Windows", u"\\Windows\\StartUp\\", u"\\TEMP", u"\\Data",
                                        u"\\Data\\Documents"}) {
        device.PlaceFile(folder + u"\\ZarvicDat.bin", DataFileWithHotKey(u'C', true, true, false));
        device.PlaceFile(folder + u"\\Zarvic.htm", {'<'});
        device.PlaceFile(folder + u"\\Mine.txt", {'m'});
        device.InstallApplication(u"Telvory Zarvic", folder);
        StartZarvic(folder + u"\\Zarvic.exe");
        ChooseUninstall(kInstalledText, IDYES);
        EXPECT_TRUE(device.Exists(folder + u"\\Mine.txt")) << sim::ToUtf8(folder);
        EXPECT_FALSE(device.Exists(folder + u"\\ZarvicDat.bin")) << sim::ToUtf8(folder);
        EXPECT_FALSE(device.Exists(folder + u"\\Zarvic.htm")) << sim::ToUtf8(folder);
        EXPECT_EQ(device.ShellExecutions().back().file, u"\\Windows\\ctlpnl.exe");
        EXPECT_FALSE(device.IsRunning(zarvic));
    }
    // Desktop Windows' paths: drives, shares, and the system's folders on any drive.
    for (const char16_t* path : {u"C:\\", u"D:", u"\\\\server\\share\\", u"C:\\Program Files", u"c:\\WINDOWS\\"})
        EXPECT_TRUE(IsProtectedFolder(path)) << sim::ToUtf8(path);
    for (const char16_t* path : {u"C:\\Program Files\\Zarvic", u"\\\\server\\share\\Zarvic", u"\\Windowsill"})
        EXPECT_FALSE(IsProtectedFolder(path)) << sim::ToUtf8(path);
}

TEST_F(UninstallTest, ExecutableInTheRootFolderLeavesTheRootAlone) {
    const std::u16string exe = u"\\Zarvic.exe";
    device.PlaceFile(u"\\Notes.txt", {'n'});
    device.PlaceFile(u"\\ZarvicDat.bin", DataFileWithHotKey(u'C', true, true, false));
    StartZarvic(exe);
    ASSERT_EQ(device.OpenMessageBox(), nullptr);
    ChooseUninstall(kLooseSharedText, IDYES);
    EXPECT_TRUE(device.Exists(u"\\Notes.txt"));
    EXPECT_TRUE(device.Exists(u"\\Program Files"));
    EXPECT_TRUE(device.Exists(u"\\Windows\\Desktop"));
    EXPECT_FALSE(device.Exists(u"\\ZarvicDat.bin"));
    ASSERT_EQ(device.ShellExecutions().size(), 1u);
    EXPECT_EQ(device.ShellExecutions()[0].file, u"\\");
    EXPECT_FALSE(device.IsRunning(zarvic));
}

TEST_F(UninstallTest, InstallerRecordIsReadCarefully) {
    device.PlaceDirectory(kExeDir);
    EXPECT_FALSE(IsInstalledCopy(kExeDir.c_str())) << "no record";
    device.SetRegistryDword(kInstallerKey, u"Instl", 0);
    device.SetRegistryString(kInstallerKey, u"InstlDir", kExeDir);
    EXPECT_FALSE(IsInstalledCopy(kExeDir.c_str())) << "Instl 0";
    device.SetRegistryDword(kInstallerKey, u"Instl", 1);
    EXPECT_TRUE(IsInstalledCopy(kExeDir.c_str()));
    EXPECT_TRUE(IsInstalledCopy(u"\\program files\\ZARVIC")) << "letter case does not matter";
    EXPECT_FALSE(IsInstalledCopy(u"\\Program Files\\Zarvic\\Sub"));

    // A value that fills the buffer without its NUL ends inside the buffer.
    std::vector<uint8_t> unterminated(MAX_PATH * 2, 0);
    for (size_t i = 0; i < unterminated.size(); i += 2) unterminated[i] = 'a';
    device.SetRegistryValue(kInstallerKey, u"InstlDir", REG_SZ, unterminated);
    EXPECT_FALSE(IsInstalledCopy(kExeDir.c_str()));
    EXPECT_TRUE(IsInstalledCopy(std::u16string(MAX_PATH, u'A').c_str()));
    // Shorter than the buffer and without its NUL: read at its own length, not its bytes'.
    std::vector<uint8_t> shortValue;
    for (char16_t c : kExeDir) shortValue.insert(shortValue.end(), {static_cast<uint8_t>(c), 0});
    device.SetRegistryValue(kInstallerKey, u"InstlDir", REG_SZ, shortValue);
    EXPECT_TRUE(IsInstalledCopy(kExeDir.c_str()));
    device.SetRegistryValue(kInstallerKey, u"InstlDir", REG_SZ, std::vector<uint8_t>(MAX_PATH * 2 + 2, 'a'));
    EXPECT_FALSE(IsInstalledCopy(kExeDir.c_str())) << "too long for the buffer: not read";
    EXPECT_EQ(device.OpenRegistryKeys(), 0u);
}

TEST_F(UninstallTest, DeleteTreeExceptSparesOnlyTheKeptFile) {
    const std::u16string dir = u"\\Data";
    device.PlaceFile(dir + u"\\keep.exe", {1});
    device.PlaceFile(dir + u"\\a.txt", {1});
    device.PlaceFile(dir + u"\\Sub\\Deeper\\b.txt", {1});
    device.PlaceDirectory(dir + u"\\Empty");
    EXPECT_FALSE(DeleteTreeExcept(dir.c_str(), u"\\DATA\\KEEP.EXE")) << "the folder still holds the kept file";
    EXPECT_TRUE(device.Exists(dir + u"\\keep.exe"));
    EXPECT_FALSE(device.Exists(dir + u"\\a.txt"));
    EXPECT_FALSE(device.Exists(dir + u"\\Sub"));
    EXPECT_FALSE(device.Exists(dir + u"\\Empty"));

    device.PlaceFile(dir + u"\\c.txt", {1});
    EXPECT_TRUE(DeleteTreeExcept((dir + u"\\").c_str(), u"")) << "an empty keep spares nothing";
    EXPECT_FALSE(device.Exists(dir));
    EXPECT_FALSE(DeleteTreeExcept(dir.c_str(), nullptr)) << "no such folder";
    EXPECT_FALSE(DeleteTreeExcept(u"", nullptr)) << "the empty path deletes nothing";
    EXPECT_TRUE(device.Exists(u"\\Program Files"));
}

TEST_F(UninstallTest, DeleteTreeExceptLeavesWhatItCannotDeleteAndNeverFollowsFolderLinks) {
    const std::u16string dir = u"\\Data";
    device.PlaceFile(dir + u"\\locked.txt", {1});
    device.SetFileReadOnly(dir + u"\\locked.txt", true);
    device.PlaceFile(u"\\My Documents\\Diary.txt", {1});
    device.PlaceFolderLink(dir + u"\\Linked", u"\\My Documents");
    EXPECT_FALSE(DeleteTreeExcept(dir.c_str(), nullptr));
    EXPECT_TRUE(device.Exists(dir + u"\\locked.txt"));
    EXPECT_TRUE(device.Exists(u"\\My Documents\\Diary.txt")) << "a folder link is not followed";
    EXPECT_TRUE(device.Exists(dir));
}
