// The whole road (start, Setting, a dozen copies, the menu with the preview, a paste, a
// Shift-delete, Clear, About, the uninstall question answered No, exit), replayed once for
// every call a failure point sees: the n-th allocation, clipboard opening, file change,
// font, window, menu or registry key fails. Every replay must end with Zarvic gone, nothing
// of it left, a data file that is the old or the new one, and a history made only of what
// was copied, in the order it was copied.
#include <algorithm>

#include "core/runtime.h"
#include "core/settings.h"
#include "history_menu_fixture.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/dc.h"
#include "platform/sim/dialog.h"
#include "platform/sim/faults.h"
#include "platform/sim/gdi.h"
#include "platform/sim/registry.h"
#include "platform/sim/resources.h"
#include "platform/sim/shell.h"
#include "platform/sim/state.h"
#include "ui/dialog_ids.h"

using namespace zarvic_test;
using sim::FaultPoint;

namespace {

const std::vector<uint8_t> kOldFile = DataFileWithHotKey(u'C', true, true, false);
const std::vector<uint8_t> kNewFile = DataFileWithHotKey(u'V', true, true, false);

class Road : public HistoryMenuTest {
public:
    void TestBody() override {}
    using HistoryMenuTest::History;

    // Runs the road with the n-th call at the point failing (n = 0: none) and checks how
    // it ends. Returns how many calls the point saw.
    uint64_t Run(FaultPoint point, uint64_t n) {
        device.FailAt(point, n);
        device.PlaceFile(kDataPath, kOldFile);
        StartZarvic();
        Answer(IDOK);
        editor = device.StartEditor();
        ConfigureV();
        std::vector<std::u16string> copied;
        for (int i = 0; i < 12; ++i) {
            copied.push_back(u"copy " + std::u16string(1, static_cast<char16_t>(u'a' + i)) + u"\r\nline");
            CopyInEditor(copied.back());
            Tick();
        }
        ExpectMadeOf(copied);
        if (OpenMenu()) {  // paste the second entry, after the preview followed the highlight
            device.PressKey(VK_DOWN);
            device.PressKey(VK_DOWN);
            device.PressKey(VK_RETURN);
            // The paste goes through the clipboard: it counts as one more copy.
            if (auto pasted = device.ClipboardText()) copied.push_back(*pasted);
        }
        Tick();
        if (OpenMenu()) {  // Shift-delete the first
            device.PressKey(VK_DOWN);
            device.HoldKey(VK_SHIFT);
            device.PressKey(VK_RETURN);
            device.ReleaseKey(VK_SHIFT);
        }
        Tick();
        ExpectMadeOf(copied);
        if (OpenMenu()) {
            size_t items = Menu().items.size();
            if (items >= 3) device.TapMenuItem(static_cast<int>(items - 2));  // Clear Clipboard
            else device.PressKey(VK_ESCAPE);
            Answer(IDYES);
        }
        Command(IDM_ABOUT);
        if (HWND about = device.OpenDialog()) device.TapDialogControl(about, IDOK);
        Answer(IDOK);
        Command(IDM_UNINSTALL);
        Answer(IDNO);
        ExpectNothingHeldOpen();
        Command(IDM_EXIT);
        Answer(IDOK);
        uint64_t reached = device.TimesReached(point);
        ExpectGoneAndTidy();
        return reached;
    }

private:
    void Command(int id) {
        if (MainWindow()) device.Post(MainWindow(), WM_COMMAND, static_cast<WPARAM>(id), 0);
        device.RunUntilIdle();
    }
    // Answers every open box: a question with `answer`, any other with OK.
    void Answer(int answer) {
        for (int i = 0; i < 8 && device.OpenMessageBox(); ++i)
            device.AnswerMessageBox((device.OpenMessageBox()->style & 0x0F) == MB_YESNO ? answer : IDOK);
    }
    bool OpenMenu() {
        if (!device.IsRunning(zarvic)) return false;
        device.PressHotKey(MOD_ALT | MOD_CONTROL, 'V');
        return MenuIsOpen();
    }
    // Setting: the letter becomes V, confirmed with OK.
    void ConfigureV() {
        Command(IDM_SETTING);
        if (HWND dialog = device.OpenDialog()) {
            device.TapDialogControl(dialog, IDC_SETTING_LETTER);
            device.PressKey(VK_BACK);
            device.TypeText(u"V");
            device.TapDialogControl(dialog, IDOK);
        }
        Answer(IDOK);
    }
    void ExpectMadeOf(const std::vector<std::u16string>& copied) {
        std::vector<std::u16string> kept = History();
        std::reverse(kept.begin(), kept.end());
        auto at = copied.begin();
        for (const std::u16string& entry : kept) {
            at = std::find(at, copied.end(), entry);
            ASSERT_NE(at, copied.end()) << "an entry that was not copied, or out of order";
            ++at;
        }
    }
    void ExpectNothingHeldOpen() {
        if (!device.IsRunning(zarvic)) return;
        size_t handles = 0;
        for (const auto& [h, o] : device.State().kernelObjects) handles += o.program == zarvic;
        EXPECT_EQ(handles, 1u) << "the mutex only";
        EXPECT_EQ(device.OpenRegistryKeys(), 0u);
        EXPECT_EQ(device.OpenDeviceContexts(zarvic), 0u);
        EXPECT_EQ(device.LiveMenus(zarvic), 0u);
        EXPECT_FALSE(device.OpenDialog());
    }
    void ExpectGoneAndTidy() {
        EXPECT_FALSE(device.IsRunning(zarvic));
        ExpectNoLeaks();
        EXPECT_TRUE(device.LiveGdiObjects(zarvic).empty());
        EXPECT_TRUE(device.LiveIconObjects(zarvic).empty());
        EXPECT_EQ(device.LiveItemIdLists(zarvic), 0u);
        EXPECT_EQ(device.OpenRegistryKeys(), 0u);
        ExpectNextStartLoadsOldOrNew();
    }
    // A save cut off before its rename leaves the new copy beside the folder's data file,
    // so what counts is what the next start reads.
    void ExpectNextStartLoadsOldOrNew() {
        for (int p = 0; p < static_cast<int>(FaultPoint::Count); ++p) device.FailAt(static_cast<FaultPoint>(p), 0);
        StartZarvic();
        Answer(IDOK);
        std::vector<uint8_t> loaded(4, 0);
        const uint8_t* record = reinterpret_cast<const uint8_t*>(&g_settings);
        loaded.insert(loaded.end(), record, record + sizeof(g_settings));
        EXPECT_TRUE(loaded == kOldFile || loaded == kNewFile) << "a torn or lost data file";
        CloseZarvic();
    }
};

class FaultSweep : public ::testing::TestWithParam<FaultPoint> {};

}  // namespace

TEST_P(FaultSweep, EveryFailureOnTheWholeRoadEndsTidily) {
    uint64_t reached = 0;
    {
        Road clean;
        reached = clean.Run(GetParam(), 0);
        EXPECT_EQ(clean.History().size(), 0u) << "Clear emptied the history";
    }
    ASSERT_GT(reached, 0u);
    for (uint64_t n = 1; n <= reached && !HasFailure(); ++n) {
        SCOPED_TRACE(std::string(sim::FaultPointName(GetParam())) + " #" + std::to_string(n));
        Road replay;
        replay.Run(GetParam(), n);
    }
    RecordProperty("replays", static_cast<int>(reached));
    std::printf("%s: %llu replays\n", sim::FaultPointName(GetParam()), static_cast<unsigned long long>(reached));
}

INSTANTIATE_TEST_SUITE_P(Points, FaultSweep,
                         ::testing::Values(FaultPoint::LocalAlloc, FaultPoint::OpenClipboard, FaultPoint::FileChange,
                                           FaultPoint::GdiObject, FaultPoint::WindowCreation,
                                           FaultPoint::MenuCreation, FaultPoint::RegistryOpen),
                         [](const auto& info) { return std::string(sim::FaultPointName(info.param)); });
