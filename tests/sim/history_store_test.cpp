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

    // Pushes as the watcher does: a copy the store refuses goes back to the heap.
    static int Push(const std::u16string& s) {
        auto* t = static_cast<WCHAR*>(LocalAlloc(LPTR, (s.size() + 1) * sizeof(WCHAR)));
        std::copy(s.begin(), s.end(), t);
        int taken = PushHistoryText(t);
        if (!taken) LocalFree(t);
        return taken;
    }
    static std::vector<std::u16string> Entries() {
        std::vector<std::u16string> out;
        for (int i = 0; i < HISTORY_SLOTS && g_historySlots[i]; i++) out.push_back(g_historySlots[i]);
        return out;
    }
    // Contiguous from slot 0, slot 40 empty, one live block per entry, nothing freed twice.
    void ExpectSound() const {
        size_t n = Entries().size();
        for (size_t i = n; i < HISTORY_SLOTS; i++) ASSERT_EQ(g_historySlots[i], nullptr) << "slot " << i;
        ASSERT_EQ(device.LiveBlocks(0).size(), n);
        ASSERT_EQ(device.BadFrees(), 0u);
    }
};

TEST_F(HistoryStoreTest, FirstPushClampsTheCapacityAndFreeingEmptiesEverything) {
    EXPECT_EQ(PushHistoryText(nullptr), 0);
    EXPECT_EQ(g_historyCapacity, 45);
    EXPECT_EQ(Push(u"abc"), 1);
    EXPECT_EQ(g_historyCapacity, 40);
    for (int i = 0; i < 45; i++) Push(u"t" + std::u16string(1, char16_t(u'0' + i)));
    EXPECT_EQ(Entries().size(), 40u);
    FreeHistory();
    EXPECT_TRUE(Entries().empty());
    ExpectSound();
}

// Any mix of pushes, removals and capacities (full stores, capacity 0, a negative one)
// agrees with a plain list: newest first, the older copy of a pushed text dropped (empty
// texts excepted), at most `capacity` entries after a push.
TEST_F(HistoryStoreTest, AgreesWithAListModel) {
    std::vector<std::u16string> texts{u"", u"a", u"A", u"ab"};
    for (int i = 0; i < 60; i++) texts.push_back(u"t" + std::u16string(1, char16_t(u'0' + i)));
    std::vector<std::u16string> model;
    std::mt19937 random(7);
    for (int step = 0; step < 20000; step++) {
        int what = static_cast<int>(random() % 100);
        if (what < 2) {
            g_historyCapacity = what == 0 ? 45 : static_cast<int>(random() % 48) - 3;
        } else if (what < 20) {
            int k = static_cast<int>(random() % 46) - 3;
            bool removable = k >= 0 && k < static_cast<int>(model.size());
            ASSERT_EQ(RemoveHistoryEntry(k), removable ? 1 : 0) << "step " << step;
            if (removable) model.erase(model.begin() + k);
        } else {
            const std::u16string& t = texts[random() % texts.size()];
            bool refused = !model.empty() && model[0] == t;
            int before = g_historyCapacity, c = std::clamp(before, 0, 40);
            ASSERT_EQ(Push(t), refused ? 0 : 1) << "step " << step;
            ASSERT_EQ(g_historyCapacity, refused ? before : c) << "step " << step;
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
        ASSERT_NO_FATAL_FAILURE(ExpectSound());
    }
}

}  // namespace
