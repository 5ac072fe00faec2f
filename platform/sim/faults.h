// Numbered failure points: every call a program makes to one of these operations is
// counted, and a test can make the n-th one fail (and, to model a removed card or a lost
// battery, every one after it too). Calls made by the test itself are not counted.
#pragma once

#include <cstdint>

namespace sim {

enum class FaultPoint {
    LocalAlloc,       // LocalAlloc
    OpenClipboard,    // OpenClipboard
    FileChange,       // a file made or truncated, written, flushed, renamed or deleted; a folder made or removed
    GdiObject,        // a font created
    WindowCreation,   // CreateWindowExW, dialogs' and message boxes' windows included
    MenuCreation,     // CreatePopupMenu
    RegistryOpen,     // RegOpenKeyExW
    ClipboardData,    // GetClipboardData of a format that is there (its owner could not render it)
    Count
};

const char* FaultPointName(FaultPoint point);
// Makes the n-th call (counting from 1) at the point fail; with andLater, every later
// one as well. n = 0 disarms the point.
void FailAt(FaultPoint point, uint64_t n, bool andLater = false);
// How many calls programs have made at the point.
uint64_t TimesReached(FaultPoint point);
// For the device's operations: counts a program's call and tells whether it fails.
bool FaultHere(FaultPoint point);

}  // namespace sim
