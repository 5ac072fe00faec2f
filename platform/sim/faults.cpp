#include "faults.h"

#include "state.h"

namespace sim {

namespace {

struct FaultCounter {
    uint64_t reached = 0;
    uint64_t failAt = 0;
    bool andLater = false;
};

struct Faults {
    FaultCounter points[static_cast<int>(FaultPoint::Count)];
};

FaultCounter& Counter(FaultPoint point) {
    return S().Extension<Faults>("faults").points[static_cast<int>(point)];
}

}  // namespace

const char* FaultPointName(FaultPoint point) {
    static const char* const names[] = {"LocalAlloc",     "OpenClipboard", "FileChange",  "GdiObject",
                                        "WindowCreation", "MenuCreation",  "RegistryOpen",  "ClipboardData"};
    static_assert(sizeof(names) / sizeof(names[0]) == static_cast<size_t>(FaultPoint::Count));
    return names[static_cast<int>(point)];
}

void FailAt(FaultPoint point, uint64_t n, bool andLater) {
    FaultCounter& c = Counter(point);
    c.failAt = n;
    c.andLater = andLater;
}

uint64_t TimesReached(FaultPoint point) { return Counter(point).reached; }

bool FaultHere(FaultPoint point) {
    Program* p = CurrentProgram();
    if (!p || !p->hosted) return false;
    FaultCounter& c = Counter(point);
    ++c.reached;
    if (c.failAt == 0) return false;
    return c.reached == c.failAt || (c.andLater && c.reached > c.failAt);
}

}  // namespace sim
