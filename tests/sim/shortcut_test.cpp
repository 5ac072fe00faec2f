// Finding and creating shortcuts to the executable in the special folders.
#include "app/app.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"
#include "ui/shortcuts.h"

using namespace zarvic_test;

namespace {

// Run on both desktops: CSIDL_DESKTOP as the namespace's root without a path (then the
// desktop directory is used), and CSIDL_DESKTOP with the desktop folder's path.
class ShortcutTest : public ::testing::TestWithParam<bool> {
protected:
    sim::Device device;
    WCHAR found[MAX_PATH] = {};
    void SetUp() override {
        device.GiveDesktopAPath(GetParam());
        device.PlaceFile(kExePath, {'M', 'Z'});
    }
    int Find(int csidl) { return FindShortcutTo(nullptr, found, kExePath.c_str(), csidl); }
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(VirtualOrFileSystemDesktop, ShortcutTest, ::testing::Bool());

TEST_P(ShortcutTest, OnlyLnkFilesAreOpenedAndFoldersAndOtherTargetsAreNotTaken) {
    device.PlaceShortcut(kDesktop + u"\\a other.lnk", u"\"\\Windows\\pword.exe\"");
    device.PlaceDirectory(kDesktop + u"\\b folder.lnk");
    device.PlaceFile(kDesktop + u"\\c notes.txt", {'h', 'i'});
    device.PlaceShortcut(kDesktop + u"\\d Mine.txt", kQuotedExe);
    device.PlaceShortcut(kDesktop + u"\\e Mine.lnkx", kQuotedExe);
    EXPECT_EQ(Find(CSIDL_DESKTOP), 0) << "a shortcut under another extension is not looked at";
    for (const sim::Call& call : device.Calls("SHGetShortcutTarget"))
        EXPECT_EQ(call.text, kDesktop + u"\\a other.lnk") << "the only shortcut file";
    device.PlaceShortcut(kDesktop + u"\\f Mine.LNK", kQuotedExe);
    ASSERT_EQ(Find(CSIDL_DESKTOP), 1);
    EXPECT_EQ(std::u16string(found), kDesktop + u"\\f Mine.LNK");
    EXPECT_EQ(Find(CSIDL_STARTUP), 0) << "the search stays in its folder";
    EXPECT_EQ(FindShortcutTo(nullptr, found, u"\\Program Files\\Zarvic\\Gone.exe", CSIDL_DESKTOP), 0);
    EXPECT_EQ(FindShortcutTo(nullptr, nullptr, kExePath.c_str(), CSIDL_DESKTOP), 0);
    EXPECT_EQ(device.LiveItemIdLists(0), 0u);
}

TEST_P(ShortcutTest, AFolderThatCannotBeResolvedHoldsNoShortcut) {
    device.PlaceShortcut(kStartUp + u"\\Zravic.lnk", kQuotedExe);
    device.FailNext(sim::FaultPoint::SpecialFolder, 0, true);
    EXPECT_EQ(Find(CSIDL_STARTUP), 0);
    EXPECT_EQ(CreateShortcutTo(nullptr, kExePath.c_str(), CSIDL_STARTUP), 0);
    device.FailAt(sim::FaultPoint::SpecialFolder, 0);
    device.PlaceShortcut(kDesktop + u"\\Zravic.lnk", kQuotedExe);

    device.FailNext(sim::FaultPoint::PathFromIdList, 0, true);
    WCHAR folder[MAX_PATH];
    EXPECT_EQ(GetSpecialFolderPath(nullptr, folder, CSIDL_DESKTOP), 0);
    EXPECT_EQ(folder[0], 0);
    EXPECT_EQ(Find(CSIDL_DESKTOP), 0);
    EXPECT_EQ(device.LiveItemIdLists(0), 0u) << "the item-id list is freed when its path cannot be had";
}

TEST_P(ShortcutTest, CreatingWritesZravicLnkReplacingAForeignOneButNeverAFolder) {
    device.PlaceShortcut(kStartUp + u"\\Zravic.lnk", u"\"\\Windows\\calc.exe\"");
    EXPECT_TRUE(CreateShortcutTo(nullptr, kExePath.c_str(), CSIDL_STARTUP));
    auto bytes = device.FileBytes(kStartUp + u"\\Zravic.lnk");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(std::string(bytes->begin(), bytes->end()), "34#\"\\Program Files\\Zarvic\\Zarvic.exe\"")
        << "the device's shortcut file: the target's length, '#', the target";
    EXPECT_FALSE(CreateShortcutTo(nullptr, u"\\Program Files\\Zarvic\\Gone.exe", CSIDL_DESKTOP));

    device.PlaceDirectory(kDesktop + u"\\Zravic.lnk");
    EXPECT_EQ(Find(CSIDL_DESKTOP), 0);
    EXPECT_FALSE(CreateShortcutTo(nullptr, kExePath.c_str(), CSIDL_DESKTOP));
    EXPECT_EQ(GetFileAttributesW((kDesktop + u"\\Zravic.lnk").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) << "the folder is neither found nor deleted";
}

TEST_P(ShortcutTest, QuotePathRefusesNullAndWhatDoesNotFit) {
    WCHAR out[MAX_PATH] = {u'x', 0};
    EXPECT_EQ(QuotePath(nullptr, u"a"), 0);
    EXPECT_EQ(QuotePath(out, nullptr), 0);
    EXPECT_EQ(out[0], u'x') << "nothing written";
    std::u16string longest(MAX_PATH - 3, u'p');
    ASSERT_EQ(QuotePath(out, longest.c_str()), 1);
    EXPECT_EQ(std::u16string(out), u"\"" + longest + u"\"");
    std::u16string tooLong(MAX_PATH - 2, u'p');
    EXPECT_EQ(QuotePath(out, tooLong.c_str()), 0);
    EXPECT_EQ(out[0], 0);
}
