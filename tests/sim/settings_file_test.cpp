// The data file: what a start reads from it and what an exit writes back.
#include "zarvic_device.h"

#include "platform/sim/sim_api.h"

using namespace zarvic_test;

namespace {

std::vector<uint8_t> Prefix(std::vector<uint8_t> bytes, size_t n) {
    bytes.resize(n);
    return bytes;
}

class SettingsFileTest : public ZarvicTest {
protected:
    // Starts with the given data file, answers the hint if one comes, exits, and returns
    // what the exit wrote.
    std::vector<sim::HotKeyInfo> held;  // the hot-keys Zarvic held with the file loaded

    std::vector<uint8_t> RoundTrip(const std::vector<uint8_t>& file) {
        device.PlaceFile(kDataPath, file);
        StartZarvic();
        if (device.OpenMessageBox()) device.AnswerMessageBox(IDOK);
        held = device.HotKeys(MainWindow());
        CloseZarvic();
        auto written = device.FileBytes(kDataPath);
        return written ? *written : std::vector<uint8_t>{};
    }
};

}  // namespace

TEST_F(SettingsFileTest, ShortFilesReplaceOnlyWhatTheyHold) {
    std::vector<uint8_t> custom = DataFileWithHotKey(u'Q', true, false, false, false);
    EXPECT_EQ(RoundTrip(Prefix(custom, 4)), DefaultDataFile()) << "4 bytes: the leading word only";

    std::vector<uint8_t> expected = DefaultDataFile();
    std::copy(custom.begin(), custom.begin() + 54, expected.begin());
    EXPECT_EQ(RoundTrip(Prefix(custom, 54)), expected) << "record bytes 0-49 from the file, the rest default";
}

TEST_F(SettingsFileTest, LeadingWordIsIgnoredAndWrittenAsZeroAndExtraBytesAreDropped) {
    std::vector<uint8_t> file = DataFileWithHotKey(u'V', false, true, true);
    file[0] = 0x78;
    file[3] = 0x12;
    file.insert(file.end(), {1, 2, 3, 4, 5});
    std::vector<uint8_t> written = RoundTrip(file);
    ASSERT_EQ(written.size(), 104u);
    EXPECT_EQ(written, DataFileWithHotKey(u'V', false, true, true));
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].modifiers, static_cast<UINT>(MOD_CONTROL | MOD_SHIFT));
    EXPECT_EQ(held[0].vk, static_cast<UINT>('V'));
}

TEST_F(SettingsFileTest, UnusedEntriesAndReservedWordsSurviveUnchanged) {
    std::vector<uint8_t> file = DataFileWithHotKey(u'C', true, true, false);
    for (size_t i = 4 + 2; i < 104; ++i)
        if (i < 4 + 16 || (i >= 4 + 68)) file[i] = static_cast<uint8_t>(i * 7 + 3);
    file[4 + 20] = 9;  // Alt of entry 1
    file[4 + 60] = 5;  // Shift of entry 3
    EXPECT_EQ(RoundTrip(file), file);
}

TEST_F(SettingsFileTest, ASaveThatCannotCreateTheFileChangesNothingAndReportsNothing) {
    std::vector<uint8_t> file = DataFileWithHotKey(u'C', true, true, false);
    device.PlaceFile(kDataPath, file);
    device.SetFileReadOnly(kDataPath, true);
    StartZarvic();
    CloseZarvic();
    EXPECT_EQ(device.FileBytes(kDataPath), file);
    EXPECT_TRUE(device.MessageBoxes().empty());
    ExpectNoLeaks();
}

// After the hint, the one warning, with its way out; the defaults stay in force.
TEST_F(SettingsFileTest, AWriteProtectedFolderSaysSoOnceAndKeepsTheDefaults) {
    device.PlaceFile(kExePath, {'M', 'Z'});
    device.SetWriteProtected(u"\\Program Files\\Zarvic", true);
    StartZarvic();
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_EQ(device.OpenMessageBox()->text, kStartupHint);
    device.AnswerMessageBox(IDOK);
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    EXPECT_EQ(device.OpenMessageBox()->text, u"Zarvic のフォルダに書き込めないため\n設定を保存できません\n\n"
                                             u"書き込みのできるフォルダに Zarvic.exe を\nコピーしてから起動してください");
    EXPECT_EQ(device.OpenMessageBox()->style, static_cast<UINT>(MB_OK | MB_ICONWARNING | MB_SETFOREGROUND));
    device.AnswerMessageBox(IDOK);
    device.Advance(1000);
    EXPECT_EQ(device.MessageBoxes().size(), 2u);
    CloseZarvic();
    EXPECT_FALSE(device.Exists(kDataPath));
    EXPECT_EQ(device.ExitCode(zarvic), 0);
}

TEST_F(SettingsFileTest, ALockedDataFileIsLoadedAsFarAsItCanBeAndLeftAlone) {
    // Another program holds the file open for writing without sharing: the load fails,
    // the defaults stay, and the save cannot replace it.
    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false));
    device.PlaceFile(kExePath, {'M', 'Z'});
    HANDLE lock = CreateFileW(u"\\Program Files\\Zarvic\\ZarvicDat.bin", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    StartZarvic();
    EXPECT_NE(device.OpenMessageBox(), nullptr) << "defaults: no modifier, so the hint";
    device.AnswerMessageBox(IDOK);
    CloseZarvic();
    CloseHandle(lock);
    EXPECT_EQ(device.FileBytes(kDataPath), DataFileWithHotKey(u'C', true, true, false));
}
