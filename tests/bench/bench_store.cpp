// Instruction counts of the history store, for scripts/bench.sh: a push of a new text into
// 40 long entries that differ only in their last unit, against the pairwise pass it replaced.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>

#include "history/history.h"
#include "platform/sim/device.h"
#include "tests/sim/pairwise_history.h"

namespace {

// Units of a text whose block is 100 KiB.
constexpr size_t kWorstUnits = 100 * 1024 / sizeof(WCHAR) - 1;

WCHAR* NewWorstText(int last) {
    auto* text = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (kWorstUnits + 1) * sizeof(WCHAR)));
    for (size_t i = 0; i < kWorstUnits - 1; i++) text[i] = u'w';
    text[kWorstUnits - 1] = static_cast<WCHAR>(u'A' + last);
    text[kWorstUnits] = 0;
    return text;
}

int PushWorstNew() {
    for (int k = 0; k < HISTORY_MAX_ENTRIES; k++) PushHistoryText(NewWorstText(k));
    WCHAR* text = NewWorstText(HISTORY_MAX_ENTRIES);
    CALLGRIND_START_INSTRUMENTATION;
    int taken = PushHistoryText(text);
    CALLGRIND_STOP_INSTRUMENTATION;
    FreeHistory();
    return taken;
}

// The same history, newest first, filled in place: pushing it would cost the old pass 40 times.
int PushWorstOld() {
    PairwiseHistory old;
    old.capacity = HISTORY_MAX_ENTRIES;
    for (int k = 0; k < HISTORY_MAX_ENTRIES; k++) old.slots[k] = NewWorstText(HISTORY_MAX_ENTRIES - 1 - k);
    WCHAR* text = NewWorstText(HISTORY_MAX_ENTRIES);
    CALLGRIND_START_INSTRUMENTATION;
    int taken = PushPairwiseText(old, text);
    CALLGRIND_STOP_INSTRUMENTATION;
    FreePairwiseHistory(old);
    return taken;
}

struct BenchCase {
    const char* name;
    int (*run)();
};

const BenchCase kCases[] = {{"push_worst_new", PushWorstNew}, {"push_worst_old", PushWorstOld}};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const BenchCase& c : kCases) std::printf("case %s\n", c.name);
        std::printf("ratio push_worst push_worst_new push_worst_old 0.01\n");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "case") == 0) {
        for (const BenchCase& c : kCases) {
            if (std::strcmp(argv[2], c.name) != 0) continue;
            sim::Device device;
            // Both pushes must take the text, or they measured something else.
            return c.run() == 1 ? 0 : 1;
        }
    }
    std::fprintf(stderr, "usage: %s --list | case NAME\n", argv[0]);
    return 2;
}
