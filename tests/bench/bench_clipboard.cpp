// Instruction counts of one idle tick of the clipboard watcher, for scripts/bench.sh: the
// clipboard holds the newest entry's text, and the tick is measured as it is done now and
// as it was done before (kept below: open, count, copy, compare, free).
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "history/clip_marks.h"
#include "history/history.h"
#include "history/watcher.h"
#include "platform/sim/clipboard.h"
#include "platform/sim/device.h"

namespace {

// ---- the tick as it was ----

WCHAR* OldCopyClipboardText() {
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return NULL;
    const WCHAR* text = static_cast<const WCHAR*>(GetClipboardData(CF_UNICODETEXT));
    if (!text) return NULL;
    if (LocalSize(const_cast<WCHAR*>(text)) < sizeof(WCHAR)) return NULL;
    size_t limit = LocalSize(const_cast<WCHAR*>(text)) / sizeof(WCHAR);
    size_t n = 0;
    while (n < limit && text[n]) n++;
    WCHAR* copy = static_cast<WCHAR*>(LocalAlloc(LPTR, (n + 1) * sizeof(WCHAR)));
    if (!copy) return NULL;
    for (size_t i = 0; i < n; i++) copy[i] = text[i];
    copy[n] = 0;
    return copy;
}

void OldPollClipboard(HWND hwnd) {
    if (!OpenClipboard(hwnd)) return;
    WCHAR* copy = IsClipboardMarkedPrivate() ? NULL : OldCopyClipboardText();
    CloseClipboard();
    if (!copy) return;
    // The push began by refusing a copy of the newest entry.
    if (g_historySlots[0] && wcscmp(g_historySlots[0], copy) == 0) {
        LocalFree(copy);
        return;
    }
    if (!PushHistoryText(copy)) LocalFree(copy);
}

// ---- the cases ----

struct BenchCase {
    const char* name;
    size_t units;
    bool desktop;  // the clipboard has a sequence number, and lends its blocks' sizes
    bool old;
};

// The old tick needs the block's size, which only the desktop clipboard tells another
// program; the new tick is measured on the device without a sequence number too.
const BenchCase kCases[] = {
    {"tick_1mib_old", 1024 * 1024, true, true},
    {"tick_1mib_gate", 1024 * 1024, true, false},
    {"tick_1mib_device", 1024 * 1024, false, false},
    {"tick_small_old", 10, true, true},
    {"tick_small_device", 10, false, false},
};

// Runs one idle tick under instrumentation; 1 when the history is as it was.
int RunTick(sim::Device& device, const BenchCase& c) {
    device.UseDesktopClipboard(c.desktop);
    std::u16string text(c.units, u'x');
    text.back() = u'y';
    auto* entry = static_cast<WCHAR*>(LocalAlloc(LMEM_FIXED, (c.units + 1) * sizeof(WCHAR)));
    std::memcpy(entry, text.c_str(), (c.units + 1) * sizeof(WCHAR));
    if (!PushHistoryText(entry) || !device.PutClipboardText(text)) return 0;
    // A tick before, as Zarvic polls every 300 ms: the gate has seen this number.
    if (!c.old) PollClipboard(NULL);
    // The device's record of calls grows now and then; let it not grow within the tick.
    device.ClearCalls();
    CALLGRIND_START_INSTRUMENTATION;
    if (c.old)
        OldPollClipboard(NULL);
    else
        PollClipboard(NULL);
    CALLGRIND_STOP_INSTRUMENTATION;
    int same = g_historySlots[0] == entry && !g_historySlots[1];
    FreeHistory();
    return same;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const BenchCase& c : kCases) std::printf("case %s\n", c.name);
        std::printf("ratio idle_gate_1mib tick_1mib_gate tick_1mib_old 0.001\n");
        std::printf("ratio idle_ce_1mib tick_1mib_device tick_1mib_old 0.4\n");
        std::printf("ratio tick_small tick_small_device tick_small_old 1.0\n");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "case") == 0) {
        for (const BenchCase& c : kCases) {
            if (std::strcmp(argv[2], c.name) != 0) continue;
            sim::Device device;
            // A tick that changed the history measured something else.
            return RunTick(device, c) ? 0 : 1;
        }
    }
    std::fprintf(stderr, "usage: %s --list | case NAME\n", argv[0]);
    return 2;
}
