// The device's shell: opening things, special folders as item-id lists, shortcut files.
#include <gtest/gtest.h>

#include "platform/sim/device.h"
#include "platform/sim/shell.h"
#include "platform/sim/sim_api.h"

namespace {

class ShellTest : public ::testing::Test {
protected:
    sim::Device device;
    BOOL Open(const char16_t* file, DWORD size = sizeof(SHELLEXECUTEINFOW)) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = size;
        info.lpVerb = u"open";
        info.lpFile = file;
        info.nShow = SW_SHOWNORMAL;
        return ShellExecuteEx(&info);
    }
};

}  // namespace

TEST_F(ShellTest, OpensLinksExistingPathsAndProgramsInWindows) {
    EXPECT_TRUE(Open(u"mailto:someone@example.org"));
    EXPECT_TRUE(Open(u"https://example.org/"));
    EXPECT_TRUE(Open(u"\\My Documents"));
    EXPECT_FALSE(Open(u"\\My Documents\\Missing.htm"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(Open(u"ctlpnl.exe"));
    device.PlaceFile(u"\\Windows\\ctlpnl.exe", {'M', 'Z'});
    EXPECT_TRUE(Open(u"ctlpnl.exe"));
    EXPECT_FALSE(Open(u"mailto:x@example.org", 12)) << "a record of the wrong size";

    sim::FailShellExecute(1);
    EXPECT_FALSE(Open(u"https://example.org/"));
    EXPECT_TRUE(Open(u"https://example.org/")) << "only the next request fails";
    ASSERT_EQ(sim::ShellExecutions().size(), 8u);
    EXPECT_EQ(sim::ShellExecutions()[0].verb, u"open");
    EXPECT_EQ(sim::ShellExecutions()[0].nShow, SW_SHOWNORMAL);
    EXPECT_FALSE(sim::ShellExecutions()[0].hasParameters);
}

TEST_F(ShellTest, SpecialFoldersComeAsItemIdListsThatMustBeFreed) {
    LPITEMIDLIST desktop = nullptr, startup = nullptr, unknown = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop), S_OK);
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &startup), S_OK);
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x1234, &unknown), E_INVALIDARG);
    EXPECT_EQ(unknown, nullptr);
    EXPECT_EQ(sim::LiveItemIdLists(), 2u);
    WCHAR path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDList(desktop, path));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Desktop");
    ASSERT_TRUE(SHGetPathFromIDList(startup, path));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\StartUp");
    EXPECT_TRUE(device.Exists(path));

    CoTaskMemFree(desktop);
    CoTaskMemFree(nullptr);
    EXPECT_EQ(sim::LiveItemIdLists(), 1u);
    EXPECT_FALSE(SHGetPathFromIDList(desktop, path)) << "a freed list names nothing";
    EXPECT_EQ(device.BadFrees(), 0u);
    CoTaskMemFree(desktop);
    EXPECT_EQ(device.BadFrees(), 1u) << "freeing twice is caught";
    CoTaskMemFree(startup);
    EXPECT_EQ(sim::LiveItemIdLists(), 0u);

    sim::FailSpecialFolder(CSIDL_STARTUP, true);
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &startup), E_FAIL);
    EXPECT_EQ(startup, nullptr);
}

TEST_F(ShellTest, ShortcutsAreCreatedOnlyWhereNothingStands) {
    WCHAR link[] = u"\\Windows\\Desktop\\Tool.lnk";
    WCHAR target[] = u"\"\\Windows\\tool.exe\" -a";
    ASSERT_TRUE(SHCreateShortcut(link, target));
    EXPECT_EQ(sim::ShortcutTarget(link), std::u16string(target));
    EXPECT_FALSE(SHCreateShortcut(link, target)) << "the shortcut exists already";

    WCHAR folder[] = u"\\Windows\\Desktop\\Folder.lnk";
    device.PlaceDirectory(folder);
    EXPECT_FALSE(SHCreateShortcut(folder, target));
    WCHAR nowhere[] = u"\\No Such Folder\\Tool.lnk";
    EXPECT_FALSE(SHCreateShortcut(nowhere, target));
    std::u16string longTarget(257, u'x');
    WCHAR other[] = u"\\Windows\\Desktop\\Long.lnk";
    EXPECT_FALSE(SHCreateShortcut(other, longTarget.data())) << "targets are limited to 256 characters";
    device.SetWriteProtected(u"\\Windows\\Desktop", true);
    EXPECT_FALSE(SHCreateShortcut(other, target));
    EXPECT_FALSE(device.Exists(other));
}

TEST_F(ShellTest, ShortcutTargetsAreReadOnlyFromShortcutsThatFit) {
    WCHAR out[16];
    WCHAR link[] = u"\\Windows\\Desktop\\Tool.lnk";
    sim::PlaceShortcut(link, u"\"\\a\\b.exe\"");  // 10 characters
    ASSERT_TRUE(SHGetShortcutTarget(link, out, 11));
    EXPECT_EQ(std::u16string(out), u"\"\\a\\b.exe\"");
    out[0] = u'?';
    EXPECT_FALSE(SHGetShortcutTarget(link, out, 10)) << "no room for the NUL";
    EXPECT_EQ(out[0], 0);

    WCHAR text[] = u"\\My Documents\\Notes.txt";
    device.PlaceFile(text, {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(SHGetShortcutTarget(text, out, 16));
    WCHAR shortened[] = u"\\My Documents\\Short.lnk";
    device.PlaceFile(shortened, {'1', '2', '#', 'a', 'b', 'c'});
    EXPECT_FALSE(SHGetShortcutTarget(shortened, out, 16)) << "fewer characters than the count says";
    WCHAR missing[] = u"\\My Documents\\Gone.lnk";
    EXPECT_FALSE(SHGetShortcutTarget(missing, out, 16));
    WCHAR folder[] = u"\\My Documents";
    EXPECT_FALSE(SHGetShortcutTarget(folder, out, 16));
}

TEST_F(ShellTest, InstallerRecordIsWrittenWhereTheInstallerKeepsIt) {
    sim::InstallApplication(u"Acme Tool", u"\\Program Files\\Acme");
    HKEY key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Apps\\Acme Tool", 0, KEY_READ, &key), ERROR_SUCCESS);
    DWORD flag = 0, size = sizeof(flag);
    EXPECT_EQ(RegQueryValueExW(key, u"Instl", nullptr, nullptr, reinterpret_cast<LPBYTE>(&flag), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(flag, 1u);
    WCHAR dir[MAX_PATH];
    size = sizeof(dir);
    EXPECT_EQ(RegQueryValueExW(key, u"InstlDir", nullptr, nullptr, reinterpret_cast<LPBYTE>(dir), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(dir), u"\\Program Files\\Acme");
    RegCloseKey(key);
}
