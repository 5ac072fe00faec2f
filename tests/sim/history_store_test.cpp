// The history store on its own: slots, capacity, de-duplication and ownership of texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "history/history.h"
#include "pairwise_history.h"
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
    static int Push(const std::u16string& s) {
        WCHAR* t = NewText(s);
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

// Two texts of one length and one hash, found by a birthday search.
std::pair<std::u16string, std::u16string> CollidingTexts() {
    std::mt19937 random(11);
    std::unordered_map<DWORD, std::u16string> seen;
    for (int tries = 0; tries < (1 << 22); tries++) {
        std::u16string s(4, u'x');
        for (char16_t& c : s) c = static_cast<char16_t>(1 + random() % 0xFFFF);
        size_t n;
        auto [it, fresh] = seen.emplace(HashHistoryText(s.c_str(), &n), s);
        if (!fresh && it->second != s) return {it->second, s};
    }
    ADD_FAILURE() << "no two texts share a hash";
    return {u"x", u"y"};
}

// The store against the pairwise pass it replaced, over a seeded mix of pushes (new, equal,
// empty, prefix-sharing and hash-sharing texts), removals, capacities and clears: the same
// results, the same slots, and beside each slot its own length and hash.
TEST_F(HistoryStoreTest, MatchesThePairwisePass) {
    auto [x, y] = CollidingTexts();
    std::u16string prefix(24, u'p');
    std::vector<std::u16string> texts{u"", x, y, x + u"z", prefix, prefix.substr(1)};
    for (char16_t c = u'a'; c < u'a' + 30; c++) {
        texts.push_back(prefix + c);
        texts.push_back(std::u16string(1, c));
    }
    PairwiseHistory old;
    std::mt19937 random(3);
    for (int step = 0; step < 40000; step++) {
        int what = static_cast<int>(random() % 200), held = 0;
        while (held < HISTORY_SLOTS && old.slots[held]) held++;
        if (what == 0) {
            FreeHistory();
            FreePairwiseHistory(old);
        } else if (what < 5) {
            g_historyCapacity = old.capacity = what == 1 ? 45 : static_cast<int>(random() % 48) - 3;
        } else if (what < 40) {
            int k = static_cast<int>(random() % 46) - 3;
            ASSERT_EQ(RemoveHistoryEntry(k), RemovePairwiseEntry(old, k)) << "step " << step;
        } else {
            std::u16string t = what < 100 && held ? old.slots[random() % held] : texts[random() % texts.size()];
            WCHAR *mine = NewText(t), *theirs = NewText(t);
            int taken = PushHistoryText(mine);
            ASSERT_EQ(taken, PushPairwiseText(old, theirs)) << "step " << step;
            if (!taken) {
                LocalFree(mine);
                LocalFree(theirs);
            }
        }
        ASSERT_EQ(g_historyCapacity, old.capacity) << "step " << step;
        held = 0;
        for (int i = 0; i < HISTORY_SLOTS; i++) {
            ASSERT_EQ(!g_historySlots[i], !old.slots[i]) << "step " << step << " slot " << i;
            size_t length = 0;
            DWORD hash = g_historySlots[i] ? HashHistoryText(g_historySlots[i], &length) : 0;
            if (old.slots[i]) {
                ASSERT_EQ(std::u16string(g_historySlots[i]), old.slots[i]) << "step " << step;
            }
            ASSERT_EQ(g_historyLengths[i], length) << "step " << step << " slot " << i;
            ASSERT_EQ(g_historyHashes[i], hash) << "step " << step << " slot " << i;
            held += old.slots[i] != nullptr;
        }
        ASSERT_EQ(device.LiveBlocks(0).size(), 2u * held);
        ASSERT_EQ(device.BadFrees(), 0u);
    }
    FreePairwiseHistory(old);
}

}  // namespace
