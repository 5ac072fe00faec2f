// Months of use in a few seconds: many distinct texts of every size up to 1 MiB, with the
// menu, pastes and deletions in between, never hold more than the 40 entries' worth of
// memory or more handles than at the start; and a 100 MiB text is kept or, without the
// memory for it, skipped, and Zarvic goes on either way.
// ZARVIC_LONG_USE_COPIES sets the number of copies (default 1000; 100000 for the long run).
#include <cstdlib>
#include <random>

#include "history_menu_fixture.h"
#include "platform/sim/dc.h"
#include "platform/sim/faults.h"
#include "platform/sim/gdi.h"
#include "platform/sim/registry.h"
#include "platform/sim/state.h"

using namespace zarvic_test;

namespace {

class LongUseTest : public HistoryMenuTest {
protected:
    // Everything Zarvic holds that can leak, apart from heap memory.
    std::vector<size_t> Handles() {
        size_t kernel = 0;
        for (const auto& [h, o] : device.State().kernelObjects) kernel += o.program == zarvic;
        return {kernel, device.Windows(zarvic).size(), device.LiveGdiObjects(zarvic).size(), device.LiveMenus(zarvic),
                device.OpenDeviceContexts(zarvic), device.OpenRegistryKeys()};
    }
    size_t HeapBytes() const {
        size_t bytes = 0;
        for (const sim::HeapBlock& b : device.LiveBlocks(zarvic)) bytes += b.size;
        return bytes;
    }
    // What the history entries need, plus the preview's own copy of one entry (the
    // largest text is 1 MiB) and some room for the menu's small tables.
    size_t Bound() const {
        size_t bytes = 0;
        for (const std::u16string& entry : History()) bytes += (entry.size() + 1) * sizeof(char16_t);
        return bytes + (1u << 20) + 2 + 4096;
    }
};

}  // namespace

TEST_F(LongUseTest, ManyCopiesOfEverySizeKeepMemoryAndHandlesBounded) {
    const char* asked = std::getenv("ZARVIC_LONG_USE_COPIES");
    const long copies = asked ? std::atol(asked) : 1000;
    StartWithToolTip(true);
    const std::vector<size_t> handles = Handles();
    std::mt19937 random(20261207);
    std::uniform_real_distribution<double> logSize(0.0, 19.0);  // 1 to 512 Ki units: up to 1 MiB
    size_t peak = 0;
    for (long i = 0; i < copies; ++i) {
        const std::string number = "#" + std::to_string(i) + " ";
        std::u16string text(number.begin(), number.end());
        text.resize(text.size() + static_cast<size_t>(std::exp2(logSize(random))), static_cast<char16_t>(u'a' + i % 26));
        ASSERT_TRUE(device.PutClipboardText(text));
        Tick();
        if (i % 50 == 49) {
            PressMenuHotKey();
            ASSERT_TRUE(MenuIsOpen());
            device.PressKey(VK_DOWN);
            device.PressKey(VK_DOWN);
            if (i % 100 == 99) device.HoldKey(VK_SHIFT);  // delete instead of pasting
            device.PressKey(VK_RETURN);
            device.ReleaseKey(VK_SHIFT);
            Tick();
            ASSERT_EQ(device.EditorText(editor).empty(), i % 100 == 99) << "a paste, or a deletion, after copy " << i;
            device.SetEditorText(editor, u"");  // as a person would, or each key would walk it all
        }
        if (i % 100 == 0) {
            ASSERT_LE(History().size(), 40u);
            ASSERT_LE(HeapBytes(), Bound()) << "after copy " << i;
            ASSERT_EQ(Handles(), handles) << "after copy " << i;
            peak = std::max(peak, HeapBytes());
            device.ClearCalls();
        }
    }
    device.PutClipboardText(u"last");
    Tick();
    EXPECT_EQ(History().size(), static_cast<size_t>(g_historyCapacity)) << "as many as the menu shows";
    std::printf("%ld copies; peak heap %zu bytes\n", copies, peak);
    CloseZarvic();
    ExpectNoLeaks();
}

TEST_F(LongUseTest, AHundredMebibyteTextIsKeptOrSkippedAndZarvicGoesOn) {
    StartWithToolTip(true);
    const std::u16string huge(50u << 20, u'h');  // 100 MiB
    for (bool memoryRunsOut : {true, false}) {
        SCOPED_TRACE(memoryRunsOut ? "no memory for it" : "memory enough");
        device.PutClipboardText(u"before");
        Tick();
        if (memoryRunsOut) device.FailAt(sim::FaultPoint::LocalAlloc, device.TimesReached(sim::FaultPoint::LocalAlloc) + 1, true);
        device.PutClipboardText(huge);
        Tick();
        device.FailAt(sim::FaultPoint::LocalAlloc, 0);
        ASSERT_FALSE(History().empty());
        EXPECT_EQ(History()[0].size(), memoryRunsOut ? 6u : huge.size());

        PressMenuHotKey();
        ASSERT_TRUE(MenuIsOpen());
        device.PressKey(VK_DOWN);  // the preview of the newest entry
        device.PressKey(VK_ESCAPE);
        EXPECT_FALSE(MenuIsOpen());
        device.PutClipboardText(u"after");
        Tick();
        EXPECT_EQ(History()[0], u"after");
    }
    CloseZarvic();
    ExpectNoLeaks();
}
