// The device's file system, as the other parts of the device reach it.
#pragma once

#include "state.h"

namespace sim {

struct ResolvedPath {
    bool valid = false;              // a well-formed device path
    std::filesystem::path host;      // where it lives on the host
    std::filesystem::path parent;
    std::u16string key;              // normalised, lower-case device path
    bool isRoot = false;
    bool isFile = false;
    bool isDirectory = false;
    bool parentExists = false;
};

ResolvedPath Resolve(const std::u16string& devicePath);
DWORD ExtraAttributes(const std::u16string& key);
bool UnderWriteProtection(const std::u16string& key);
bool IsRunningExecutable(const std::u16string& key);
// Whether a new file or folder may be made at r; sets the caller's last error when not.
bool CanCreateAt(const ResolvedPath& r);
// FindFirstFileW and FindNextFileW list a folder live: each step looks at the folder as
// it is then, so an entry deleted before its turn is not listed and the listing goes on
// after one deleted at its turn. Win32 leaves the order undefined; the device lists by
// name, or backwards while `on`.
void ListFoldersBackwards(bool on);

}  // namespace sim
