// The history store on its own: slots, capacity, de-duplication and ownership of texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "history/history.h"
#include "platform/sim/device.h"

namespace {

class HistoryStoreTest : public ::testing::Test {
protected:
    sim::Device device;  // the local heap the texts come from

    static WCHAR* NewText(const std::u16string& s) {
        auto* t = static_cast<WCHAR*>(LocalAlloc(LPTR, (s.size() + 1) * sizeof(WCHAR)));
        std::copy(s.begin(), s.end(), t);
        return t;
    }
    // Pushes as the watcher does: a copy the store refuses goes back to the heap.
    int Push(const std::u16string& s) {
        WCHAR* t = NewText(s);
        int taken = PushHistoryText(t);
        if (!taken) LocalFree(t);
        return taken;
    }
    void PushAll(int from, int to) {
        for (int i = from; i < to; i++) Push(u"t" + std::u16string(1, char16_t(u'A' + i)));
    }
    static std::vector<std::u16string> Entries() {
        std::vector<std::u16string> out;
        for (int i = 0; i < HISTORY_SLOTS && g_historySlots[i]; i++) out.push_back(g_historySlots[i]);
        return out;
    }
    // Contiguous from slot 0, slot 40 empty, one live block per entry, nothing freed twice.
    void ExpectSound() const {
        size_t n = Entries().size();
        for (size_t i = n; i < HISTORY_SLOTS; i++) EXPECT_EQ(g_historySlots[i], nullptr) << "slot " << i;
        EXPECT_LE(n, 40u);
        EXPECT_EQ(device.LiveBlocks(0).size(), n);
        EXPECT_EQ(device.BadFrees(), 0u);
    }
};

TEST_F(HistoryStoreTest, PushKeepsNewestFirstWithoutRepeatsAndClampsCapacity) {
    EXPECT_EQ(PushHistoryText(nullptr), 0);
    EXPECT_EQ(g_historyCapacity, 45);
    EXPECT_EQ(Push(u"abc"), 1);
    EXPECT_EQ(g_historyCapacity, 40) << "the first push turns 45 into 40";
    EXPECT_EQ(Push(u"abc"), 0) << "equal to the newest: refused, the caller keeps its copy";
    EXPECT_EQ(Push(u"ABC"), 1) << "case matters";
    EXPECT_EQ(Push(u""), 1);
    EXPECT_EQ(Push(u""), 0);
    EXPECT_EQ(Push(u"x"), 1);
    EXPECT_EQ(Push(u""), 1) << "empty entries may repeat";
    EXPECT_EQ(Push(u"abc"), 1);
    EXPECT_EQ(Entries(), (std::vector<std::u16string>{u"abc", u"", u"x", u"", u"ABC"}));
    ExpectSound();
}

TEST_F(HistoryStoreTest, FullStoreDropsTheOldestOrTheOlderCopy) {
    PushAll(0, 40);
    ASSERT_EQ(Entries().size(), 40u);
    Push(u"tA");  // the oldest, again
    EXPECT_EQ(Entries().size(), 40u);
    EXPECT_EQ(Entries()[0], u"tA");
    EXPECT_EQ(Entries()[39], u"tB");
    Push(u"tK");  // entry 30 moves to the top, the ones after it keep their slots
    EXPECT_EQ(Entries()[0], u"tK");
    EXPECT_EQ(Entries()[1], u"tA");
    EXPECT_EQ(Entries()[31], u"tJ");
    Push(u"new");
    EXPECT_EQ(Entries().size(), 40u);
    EXPECT_EQ(Entries()[39], u"tC") << "tB, the oldest, was released";
    ExpectSound();
}

TEST_F(HistoryStoreTest, LowerCapacityTakesEffectAtTheNextPush) {
    PushAll(0, 25);
    g_historyCapacity = 10;
    EXPECT_EQ(Entries().size(), 25u) << "setting the capacity trims nothing by itself";
    Push(u"new");
    ASSERT_EQ(Entries().size(), 10u);
    EXPECT_EQ(Entries()[9], u"t" + std::u16string(1, char16_t(u'A' + 16)));
    ExpectSound();

    g_historyCapacity = 0;
    EXPECT_EQ(Push(u"gone"), 1);
    EXPECT_TRUE(Entries().empty());
    g_historyCapacity = -5;  // never negative: a push must not index below slot 0
    EXPECT_EQ(Push(u"gone too"), 1);
    EXPECT_EQ(g_historyCapacity, 0);
    ExpectSound();
}

TEST_F(HistoryStoreTest, RemoveAndFree) {
    FreeHistory();
    PushAll(0, 40);
    EXPECT_EQ(RemoveHistoryEntry(39), 1);
    EXPECT_EQ(Entries().size(), 39u);
    EXPECT_EQ(RemoveHistoryEntry(0), 1);
    EXPECT_EQ(Entries()[0], u"t" + std::u16string(1, char16_t(u'A' + 38)));
    EXPECT_EQ(RemoveHistoryEntry(38), 0) << "empty slot";
    EXPECT_EQ(RemoveHistoryEntry(40), 0);
    EXPECT_EQ(RemoveHistoryEntry(-1), 0);
    EXPECT_EQ(Entries().size(), 38u);
    ExpectSound();
    FreeHistory();
    EXPECT_TRUE(Entries().empty());
    ExpectSound();
}

// Any mix of pushes, removals and capacities agrees with a plain list model.
TEST_F(HistoryStoreTest, AgreesWithAListModel) {
    const std::u16string texts[] = {u"", u"a", u"A", u"ab", u"b", u"c", u"d", u"e", u"ba"};
    std::vector<std::u16string> model;
    std::mt19937 random(7);
    for (int step = 0; step < 3000; step++) {
        int what = static_cast<int>(random() % 10);
        if (what == 0) {
            g_historyCapacity = static_cast<int>(random() % 48) - 2;
        } else if (what <= 2) {
            int k = static_cast<int>(random() % 46) - 3;
            bool removable = k >= 0 && k < static_cast<int>(model.size());
            ASSERT_EQ(RemoveHistoryEntry(k), removable ? 1 : 0);
            if (removable) model.erase(model.begin() + k);
        } else {
            const std::u16string& t = texts[random() % 9];
            bool refused = !model.empty() && model[0] == t;
            int c = std::clamp(g_historyCapacity, 0, 40);
            ASSERT_EQ(Push(t), refused ? 0 : 1);
            if (refused) continue;
            model.resize(std::min<size_t>(model.size(), c));
            model.insert(model.begin(), t);
            if (!t.empty()) {
                auto older = std::find(model.begin() + 1, model.end(), t);
                if (older != model.end()) model.erase(older);
            }
            model.resize(std::min<size_t>(model.size(), c));
        }
        ASSERT_EQ(Entries(), model) << "step " << step;
    }
    ExpectSound();
}

}  // namespace
