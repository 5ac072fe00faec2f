#include "faults.h"

#include "state.h"

namespace sim {

namespace {

struct FaultCounter {
    uint64_t reached = 0;
    uint64_t failAt = 0;
    bool andLater = false;
    // armed by FailNext: the calls of anyone still to pass before one fails
    bool nextArmed = false;
    uint64_t nextSkip = 0;
    bool nextAndLater = false;
};

}  // namespace

struct FaultCounters {
    FaultCounter points[static_cast<int>(FaultPoint::Count)];
};

namespace {

FaultCounter& Counter(FaultPoint point) {
    return PartOf(S().faults).points[static_cast<int>(point)];
}

}  // namespace

const char* FaultPointName(FaultPoint point) {
    static const char* const names[] = {"LocalAlloc",     "OpenClipboard", "FileChange",  "GdiObject",
                                        "WindowCreation", "MenuCreation",  "RegistryOpen",  "ClipboardData",
                                        "MutexCreation",  "ClassRegistration", "MessageRetrieval", "ClipboardSetData",
                                        "ShellExecute",   "SpecialFolder", "PathFromIdList", "WorkAreaQuery"};
    static_assert(sizeof(names) / sizeof(names[0]) == static_cast<size_t>(FaultPoint::Count));
    return names[static_cast<int>(point)];
}

void Device::FailAt(FaultPoint point, uint64_t n, bool andLater) {
    FaultCounter& c = Counter(point);
    c.failAt = n;
    c.andLater = andLater;
    if (n == 0) c.nextArmed = false;
}

void Device::FailNext(FaultPoint point, uint64_t skip, bool andLater) {
    FaultCounter& c = Counter(point);
    c.nextArmed = true;
    c.nextSkip = skip;
    c.nextAndLater = andLater;
}

uint64_t Device::TimesReached(FaultPoint point) const { return Counter(point).reached; }

// Counts one call against FailNext: whether it is the one that fails.
static bool NextFails(FaultCounter& c) {
    if (!c.nextArmed) return false;
    if (c.nextSkip > 0) {
        --c.nextSkip;
        return false;
    }
    c.nextArmed = c.nextAndLater;
    return true;
}

bool FaultHere(FaultPoint point) {
    FaultCounter& c = Counter(point);
    bool next = NextFails(c);
    Program* p = CurrentProgram();
    if (!p || !p->hosted) return next;
    ++c.reached;
    if (next) return true;
    if (c.failAt == 0) return false;
    return c.reached == c.failAt || (c.andLater && c.reached > c.failAt);
}

}  // namespace sim
