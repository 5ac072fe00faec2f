// The device's file system, as the other parts of the device reach it.
#pragma once

#include "state.h"

namespace sim {

struct ResolvedPath {
    bool valid = false;              // a well-formed device path
    std::u16string key;              // normalised, lower-case device path (through folder links)
    std::u16string name;             // the last component as given ("" for the root)
    std::u16string parentKey;
    bool isRoot = false;
    bool isFile = false;
    bool isDirectory = false;        // a folder link counts as a folder
    bool parentExists = false;
};

ResolvedPath Resolve(const std::u16string& devicePath);
// The node at a resolved path; null when there is none.
FileNode* NodeAt(const std::u16string& key);
// Makes the folders of a device path that are missing, as a person with a host's tools
// would; false when a file is in the way.
bool MakeFolders(const std::u16string& devicePath);
// Makes or empties the file at a device path, its folders too; null when a folder or a
// file on the way is in the way.
std::vector<uint8_t>* PlaceFileBytes(const std::u16string& devicePath);
// The entries of a folder (by the key of the folder that holds them), by key.
std::vector<std::pair<std::u16string, const FileNode*>> FolderEntries(const std::u16string& folderKey);
DWORD ExtraAttributes(const std::u16string& key);
bool UnderWriteProtection(const std::u16string& key);
bool IsRunningExecutable(const std::u16string& key);
// Whether a new file or folder may be made at r; sets the caller's last error when not.
bool CanCreateAt(const ResolvedPath& r);

}  // namespace sim
