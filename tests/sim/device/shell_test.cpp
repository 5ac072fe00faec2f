// The device's shell: opening things, special folders as item-id lists, shortcut files.
#include <gtest/gtest.h>

#include "platform/sim/device.h"
#include "platform/sim/shell.h"
#include "platform/sim/sim_api.h"

namespace {

class ShellTest : public ::testing::Test {
protected:
    sim::Device device;
    BOOL Open(const char16_t* file) {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof(info);
        info.lpFile = file;
        return ShellExecuteEx(&info);
    }
};

}  // namespace

TEST_F(ShellTest, OpensLinksExistingPathsAndProgramsInWindows) {
    EXPECT_TRUE(Open(u"mailto:someone@example.org"));
    EXPECT_TRUE(Open(u"\\My Documents"));
    EXPECT_FALSE(Open(u"\\My Documents\\Missing.htm"));
    EXPECT_FALSE(Open(u"ctlpnl.exe"));
    device.PlaceFile(u"\\Windows\\ctlpnl.exe", {'M', 'Z'});
    EXPECT_TRUE(Open(u"ctlpnl.exe"));
    EXPECT_EQ(device.ShellExecutions().size(), 5u);
}

TEST_F(ShellTest, SpecialFoldersComeAsItemIdListsThatMustBeFreedOnce) {
    LPITEMIDLIST root = nullptr, desktop = nullptr, unknown = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &root), S_OK);
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &desktop), S_OK);
    EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, 0x1234, &unknown), E_INVALIDARG);
    EXPECT_EQ(unknown, nullptr);
    WCHAR path[MAX_PATH];
    EXPECT_FALSE(SHGetPathFromIDList(root, path)) << "the namespace's root has no path";
    ASSERT_TRUE(SHGetPathFromIDList(desktop, path));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Desktop");
    CoTaskMemFree(root);
    device.GiveDesktopAPath(true);
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &root), S_OK);
    ASSERT_TRUE(SHGetPathFromIDList(root, path));
    EXPECT_EQ(std::u16string(path), u"\\Windows\\Desktop");
    CoTaskMemFree(root);
    EXPECT_EQ(device.LiveItemIdLists(), 1u);
    CoTaskMemFree(desktop);
    EXPECT_EQ(device.LiveItemIdLists(), 0u);
    EXPECT_FALSE(SHGetPathFromIDList(desktop, path)) << "a freed list names nothing";
    CoTaskMemFree(desktop);
    EXPECT_EQ(device.BadFrees(), 1u) << "freeing twice is caught";
}

TEST_F(ShellTest, ShortcutsAreCreatedOnlyWhereNothingStandsAndReadOnlyWhenTheyFit) {
    WCHAR link[] = u"\\Windows\\Desktop\\Tool.lnk";
    WCHAR target[] = u"\"\\a\\b.exe\" -x";  // 13 characters
    ASSERT_TRUE(SHCreateShortcut(link, target));
    EXPECT_FALSE(SHCreateShortcut(link, target)) << "the shortcut exists already";
    WCHAR folder[] = u"\\Windows\\Desktop\\Folder.lnk";
    device.PlaceDirectory(folder);
    EXPECT_FALSE(SHCreateShortcut(folder, target));
    std::u16string longTarget(257, u'x');
    WCHAR other[] = u"\\Windows\\Desktop\\Long.lnk";
    EXPECT_FALSE(SHCreateShortcut(other, longTarget.data())) << "targets are limited to 256 characters";

    WCHAR out[16];
    ASSERT_TRUE(SHGetShortcutTarget(link, out, 14));
    EXPECT_EQ(std::u16string(out), std::u16string(target));
    EXPECT_FALSE(SHGetShortcutTarget(link, out, 13)) << "no room for the NUL";
    WCHAR text[] = u"\\My Documents\\Notes.txt";
    device.PlaceFile(text, {'h', 'e', 'l', 'l', 'o'});
    EXPECT_FALSE(SHGetShortcutTarget(text, out, 16));
    device.PlaceFile(text, {'1', '2', '#', 'a', 'b', 'c'});
    EXPECT_FALSE(SHGetShortcutTarget(text, out, 16)) << "fewer characters than the count says";
}
