// A save cut off at any point leaves a data file that loads as the old record or the new
// one, never as a torn mixture.
#include "core/settings.h"
#include "platform/sim/faults.h"
#include "platform/sim/sim_api.h"
#include "settings_fixture.h"

using namespace zarvic_test;

namespace {

const std::u16string kNewCopyPath = u"\\Program Files\\Zarvic\\ZarvicDat.new";
using Files = std::pair<std::optional<std::vector<uint8_t>>, std::optional<std::vector<uint8_t>>>;

// One boot of the device with the given data files; a replay is built fresh for each.
class Boot : public TrayUiTest {
public:
    void TestBody() override {}

    // Hot-key C is changed to Q through Setting while the n-th file change of the save
    // fails (with cut, every later one too, as when the card is pulled out). Returns the
    // card's files the moment the save has ended.
    Files SaveQWithFault(uint64_t n, bool cut, uint64_t* reached) {
        device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true, true, false));
        StartZarvic();
        OpenSettings();
        ReplaceLetter(u"Q");
        uint64_t before = device.TimesReached(sim::FaultPoint::FileChange);
        device.FailAt(sim::FaultPoint::FileChange, before + n, cut);
        Tap(IDOK);
        *reached = device.TimesReached(sim::FaultPoint::FileChange) - before;
        Files files{device.FileBytes(kDataPath), device.FileBytes(kNewCopyPath)};
        device.FailAt(sim::FaultPoint::FileChange, 0);
        CloseZarvic();
        ExpectNoLeaks();
        return files;
    }

    // Starts Zarvic on a card holding these files and returns the hot-key letter it loaded;
    // the data file it leaves at exit is whole.
    WCHAR LoadFrom(const Files& files) {
        if (files.first) device.PlaceFile(kDataPath, *files.first);
        if (files.second) device.PlaceFile(kNewCopyPath, *files.second);
        StartZarvic();
        if (device.OpenMessageBox()) device.AnswerMessageBox(IDOK);
        WCHAR letter = g_settings.hotKeyChar[0][0];
        CloseZarvic();
        EXPECT_EQ(device.FileBytes(kDataPath).value_or(std::vector<uint8_t>{}).size(), 104u);
        return letter;
    }
};

}  // namespace

TEST(SettingsSaveFault, EveryFailedOrCutOffFileChangeLeavesTheOldOrTheNewRecord) {
    uint64_t points = 0;
    {
        Boot clean;
        clean.SaveQWithFault(0, false, &points);
    }
    ASSERT_GT(points, 0u);
    for (bool cut : {false, true}) {
        for (uint64_t n = 1; n <= points; ++n) {
            SCOPED_TRACE((cut ? "cut off from file change " : "failed file change ") + std::to_string(n));
            Files files;
            {
                Boot saving;
                uint64_t reached = 0;
                files = saving.SaveQWithFault(n, cut, &reached);
            }
            Boot next;
            WCHAR letter = next.LoadFrom(files);
            EXPECT_TRUE(letter == u'C' || letter == u'Q') << "loaded " << static_cast<int>(letter);
        }
    }
}

TEST(SettingsSaveFault, ACompleteNewCopyIsReadWhenTheDataFileIsGone) {
    Boot boot;
    Files files{std::nullopt, DataFileWithHotKey(u'Q', true, true, false)};
    EXPECT_EQ(boot.LoadFrom(files), u'Q');
}
