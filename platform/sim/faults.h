// Numbered failure points: every call a program makes to one of these operations is
// counted, and a test can make the n-th one fail (and, to model a removed card or a lost
// battery, every one after it too): Device::FailAt. Calls made by the test itself are
// not counted there; a test that calls the logic itself arms a point with
// Device::FailNext instead, which counts every caller.
#pragma once

#include <cstdint>

namespace sim {

enum class FaultPoint {
    LocalAlloc,         // LocalAlloc
    OpenClipboard,      // OpenClipboard
    FileChange,         // a file made or truncated, written, flushed, renamed or deleted; a folder made or removed
    GdiObject,          // a font created
    WindowCreation,     // CreateWindowExW, dialogs' and message boxes' windows included
    MenuCreation,       // CreatePopupMenu
    RegistryOpen,       // RegOpenKeyExW
    ClipboardData,      // GetClipboardData of a format that is there (its owner could not render it)
    MutexCreation,      // CreateMutexW
    ClassRegistration,  // RegisterClassW
    MessageRetrieval,   // GetMessageW (fails with -1)
    ClipboardSetData,   // SetClipboardData (for want of memory)
    ShellExecute,       // ShellExecuteEx (as for a document without an application)
    SpecialFolder,      // SHGetSpecialFolderLocation of a folder the device has
    PathFromIdList,     // SHGetPathFromIDList
    WorkAreaQuery,      // the work area asked of SystemParametersInfoW or of a monitor (none: the whole screen)
    Count
};

const char* FaultPointName(FaultPoint point);
// For the device's operations: counts a program's call and tells whether it fails.
bool FaultHere(FaultPoint point);

}  // namespace sim
