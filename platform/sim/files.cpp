// The device's file system: device paths ("\Program Files\Zarvic\Zarvic.exe") are
// case-insensitive; the files and folders are held in memory. Sharing, read-only files,
// write-protected folders and running executables refuse access as Windows CE does.
#include <algorithm>

#include "faults.h"
#include "files.h"

namespace sim {

static bool ValidComponent(const std::u16string& c) {
    for (char16_t ch : c)
        if (ch < 32 || ch == u'<' || ch == u'>' || ch == u':' || ch == u'"' || ch == u'|' || ch == u'?' ||
            ch == u'*')
            return false;
    return true;
}

static std::u16string ChildKey(const std::u16string& folder, const std::u16string& lowerName) {
    return (folder == u"\\" ? u"" : folder) + u"\\" + lowerName;
}

FileNode* NodeAt(const std::u16string& key) {
    auto it = S().files.find(key);
    return it == S().files.end() ? nullptr : &it->second;
}

// The folder whose entries a folder's key lists: a folder link's are its target's.
static std::u16string ContentsOf(const std::u16string& key) {
    FileNode* node = NodeAt(key);
    return node && !node->linkTo.empty() ? node->linkTo : key;
}

ResolvedPath Resolve(const std::u16string& devicePath) {
    ResolvedPath r;
    if (devicePath.empty()) return r;
    std::vector<std::u16string> parts;
    std::u16string part;
    for (char16_t ch : devicePath + u"\\") {
        if (ch == u'\\' || ch == u'/') {
            if (part == u"..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != u".") {
                if (!ValidComponent(part)) return r;
                parts.push_back(part);
            }
            part.clear();
        } else {
            part += ch;
        }
    }
    std::u16string key = u"\\";
    for (size_t i = 0; i < parts.size(); ++i) {
        r.parentKey = ContentsOf(key);
        key = ChildKey(r.parentKey, Lower(parts[i]));
    }
    r.valid = true;
    r.key = key;
    r.name = parts.empty() ? u"" : parts.back();
    r.isRoot = parts.empty();
    FileNode* node = NodeAt(key);
    r.isDirectory = node && node->directory;
    r.isFile = node && !node->directory;
    FileNode* parent = r.isRoot ? node : NodeAt(r.parentKey);
    r.parentExists = parent && parent->directory;
    return r;
}

bool MakeFolders(const std::u16string& devicePath) {
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || r.isRoot || r.isDirectory) return r.valid;
    if (r.isFile || !MakeFolders(devicePath + u"\\..")) return false;
    FileNode& folder = S().files[r.key];
    folder.name = r.name;
    folder.directory = true;
    return true;
}

std::vector<uint8_t>* PlaceFileBytes(const std::u16string& devicePath) {
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || r.isRoot || r.isDirectory || !MakeFolders(devicePath + u"\\..")) return nullptr;
    FileNode& file = S().files[r.key];
    if (!r.isFile) file.name = r.name;
    file.bytes.clear();
    return &file.bytes;
}

DWORD ExtraAttributes(const std::u16string& key) {
    auto it = S().attributes.find(key);
    return it == S().attributes.end() ? 0 : it->second;
}

bool UnderWriteProtection(const std::u16string& key) {
    for (const auto& folder : S().writeProtected)
        if (key == folder || key.compare(0, folder.size() + 1, folder + u"\\") == 0) return true;
    return false;
}

bool IsRunningExecutable(const std::u16string& key) {
    for (auto& p : S().programs)
        if (p->hosted && p->state != Program::State::Exited && Lower(Resolve(p->exePath).key) == key) return true;
    return false;
}

bool CanCreateAt(const ResolvedPath& r) {
    if (!r.valid || r.isRoot || !r.parentExists) {
        Fail(ERROR_PATH_NOT_FOUND);
        return false;
    }
    if (r.isFile || r.isDirectory) {
        Fail(ERROR_ALREADY_EXISTS);
        return false;
    }
    if (UnderWriteProtection(r.key)) {
        Fail(ERROR_WRITE_PROTECT);
        return false;
    }
    return true;
}

static bool OpenHandlesOn(const std::u16string& key) {
    for (auto& [h, o] : S().kernelObjects)
        if (o.kind == KernelObject::Kind::File && o.name == key) return true;
    return false;
}

static KernelObject* FileObject(HANDLE h) {
    auto it = S().kernelObjects.find(reinterpret_cast<uintptr_t>(h));
    if (it == S().kernelObjects.end() || it->second.kind != KernelObject::Kind::File) return nullptr;
    return &it->second;
}

// The open file behind a handle, if it was opened for `access`; otherwise null, with the
// error the device gives.
static KernelObject* FileOpenFor(HANDLE h, DWORD access) {
    KernelObject* o = FileObject(h);
    if (!o) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!(o->access & access)) {
        Fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return o;
}

// Glob match of a file name against a pattern of '*' and '?', without regard to case.
static bool NameMatches(const std::u16string& name, const std::u16string& pattern) {
    std::u16string n = Lower(name), p = Lower(pattern);
    if (p == u"*.*") p = u"*";
    size_t ni = 0, pi = 0, star = std::u16string::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
            ++ni;
            ++pi;
        } else if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            mark = ni;
        } else if (star != std::u16string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') ++pi;
    return pi == p.size();
}

std::vector<std::pair<std::u16string, const FileNode*>> FolderEntries(const std::u16string& folderKey) {
    std::vector<std::pair<std::u16string, const FileNode*>> out;
    std::u16string prefix = folderKey == u"\\" ? u"\\" : folderKey + u"\\";
    const auto& files = S().files;
    for (auto it = files.lower_bound(prefix); it != files.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
        if (it->first.size() > prefix.size() && it->first.find(u'\\', prefix.size()) == std::u16string::npos)
            out.emplace_back(it->first, &it->second);
    return out;
}

static void FillFindData(const FileNode& e, const std::u16string& key, WIN32_FIND_DATAW* d) {
    *d = WIN32_FIND_DATAW{};
    d->dwFileAttributes = (e.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) | ExtraAttributes(key);
    if (!e.linkTo.empty()) d->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (!e.directory) d->nFileSizeLow = static_cast<DWORD>(e.bytes.size());
    size_t n = std::min<size_t>(e.name.size(), MAX_PATH - 1);
    std::copy(e.name.begin(), e.name.begin() + n, d->cFileName);
    d->cFileName[n] = 0;
}

struct ListingState {
    bool backwards = false;
};

static ListingState& Listing() { return PartOf(S().listing); }

void Device::ListFoldersBackwards(bool on) { Listing().backwards = on; }

// Looks at the folder as it is now for the entry that follows the last one listed in the
// device's order, and fills data with it.
static bool NextListed(KernelObject& find, WIN32_FIND_DATAW* data) {
    bool backwards = Listing().backwards;
    bool first = find.lastFound.empty();
    const FileNode* next = nullptr;
    std::u16string nextName;
    for (const auto& [key, e] : FolderEntries(find.name)) {
        std::u16string name = key.substr(key.size() - e->name.size());
        if (!NameMatches(name, find.mask)) continue;
        if (!first && (backwards ? name >= find.lastFound : name <= find.lastFound)) continue;
        if (!next || (backwards ? name > nextName : name < nextName)) {
            next = e;
            nextName = name;
        }
    }
    if (!next) return false;
    FillFindData(*next, ChildKey(find.name, nextName), data);
    find.lastFound = nextName;
    return true;
}

}  // namespace sim

using namespace sim;

HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE) {
    DeviceState& s = S();
    std::u16string devicePath = FromWide(path);
    Call& call = Record("CreateFileW", {static_cast<intptr_t>(access), static_cast<intptr_t>(share),
                                        static_cast<intptr_t>(disposition)},
                        devicePath);
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || r.isRoot || !r.parentExists) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (r.isDirectory) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    bool exists = r.isFile;
    bool writes = (access & GENERIC_WRITE) != 0;
    bool creates = !exists && (disposition == CREATE_NEW || disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS);
    bool truncates = exists && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING);
    switch (disposition) {
    case CREATE_NEW:
        if (exists) {
            Fail(ERROR_FILE_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
        if (!exists) {
            Fail(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
        break;
    default:
        Fail(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if ((writes || creates || truncates) && UnderWriteProtection(r.key)) {
        Fail(ERROR_WRITE_PROTECT);
        return INVALID_HANDLE_VALUE;
    }
    if (exists && (writes || truncates) && (ExtraAttributes(r.key) & FILE_ATTRIBUTE_READONLY)) {
        Fail(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    if (exists && (writes || truncates) && IsRunningExecutable(r.key)) {
        Fail(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
    }
    for (auto& [h, o] : s.kernelObjects) {
        if (o.kind != KernelObject::Kind::File || o.name != r.key) continue;
        bool theyAllowUs = (!(access & GENERIC_READ) || (o.share & FILE_SHARE_READ)) &&
                           (!(access & GENERIC_WRITE) || (o.share & FILE_SHARE_WRITE));
        bool weAllowThem = (!(o.access & GENERIC_READ) || (share & FILE_SHARE_READ)) &&
                           (!(o.access & GENERIC_WRITE) || (share & FILE_SHARE_WRITE));
        if (!theyAllowUs || !weAllowThem) {
            Fail(ERROR_SHARING_VIOLATION);
            return INVALID_HANDLE_VALUE;
        }
    }
    if ((creates || truncates) && FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_DISK_FULL);
        return INVALID_HANDLE_VALUE;
    }
    if (creates || truncates) {
        FileNode& file = s.files[r.key];
        if (creates) file.name = r.name;
        file.bytes.clear();
    }
    KernelObject o;
    o.kind = KernelObject::Kind::File;
    o.program = CurrentProgramId();
    o.name = r.key;
    o.access = access;
    o.share = share;
    HANDLE h = NewHandle();
    s.kernelObjects[reinterpret_cast<uintptr_t>(h)] = o;
    Fail(exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                : ERROR_SUCCESS);
    call.result = reinterpret_cast<intptr_t>(h);
    return h;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, LPVOID) {
    Record("ReadFile", {reinterpret_cast<intptr_t>(file), static_cast<intptr_t>(toRead)});
    if (read) *read = 0;
    KernelObject* o = FileOpenFor(file, GENERIC_READ);
    if (!o) return FALSE;
    const std::vector<uint8_t>& bytes = NodeAt(o->name)->bytes;
    DWORD got = o->position >= bytes.size() ? 0 : static_cast<DWORD>(std::min<uint64_t>(toRead, bytes.size() - o->position));
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(o->position), got, static_cast<uint8_t*>(buffer));
    o->position += got;
    if (read) *read = got;
    return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, LPVOID) {
    Record("WriteFile", {reinterpret_cast<intptr_t>(file), static_cast<intptr_t>(toWrite)});
    if (written) *written = 0;
    KernelObject* o = FileOpenFor(file, GENERIC_WRITE);
    if (!o) return FALSE;
    // A write that fails part-way (a full card, a card pulled out) leaves what it had
    // written so far.
    bool fault = FaultHere(FaultPoint::FileChange);
    DWORD writing = fault ? toWrite / 2 : toWrite;
    // Writing past the end fills the gap with zeros.
    std::vector<uint8_t>& bytes = NodeAt(o->name)->bytes;
    if (bytes.size() < o->position + writing) bytes.resize(o->position + writing);
    std::copy_n(static_cast<const uint8_t*>(buffer), writing, bytes.begin() + static_cast<std::ptrdiff_t>(o->position));
    o->position += writing;
    if (fault) {
        if (written) *written = writing;
        Fail(ERROR_DISK_FULL);
        return FALSE;
    }
    if (written) *written = toWrite;
    return TRUE;
}

DWORD GetFileSize(HANDLE file, LPDWORD high) {
    KernelObject* o = FileObject(file);
    if (high) *high = 0;
    if (!o) {
        Fail(ERROR_INVALID_HANDLE);
        return 0xFFFFFFFF;
    }
    return static_cast<DWORD>(NodeAt(o->name)->bytes.size());
}

DWORD GetFileAttributesW(LPCWSTR path) {
    ResolvedPath r = Resolve(FromWide(path));
    if (!r.valid) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (r.isDirectory) return FILE_ATTRIBUTE_DIRECTORY | ExtraAttributes(r.key);
    if (r.isFile) return FILE_ATTRIBUTE_ARCHIVE | ExtraAttributes(r.key);
    Fail(r.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
}

BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes) {
    ResolvedPath r = Resolve(FromWide(path));
    if (!r.valid || (!r.isFile && !r.isDirectory)) {
        Fail(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    S().attributes[r.key] = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return TRUE;
}

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    DeviceState& s = S();
    std::u16string p = FromWide(pattern);
    Record("FindFirstFileW", {}, p);
    size_t cut = p.find_last_of(u"\\/");
    std::u16string folder = cut == std::u16string::npos ? u"\\" : p.substr(0, cut);
    std::u16string mask = cut == std::u16string::npos ? p : p.substr(cut + 1);
    ResolvedPath r = Resolve(folder.empty() ? u"\\" : folder);
    if (!r.valid || !r.isDirectory || mask.empty() || !data) {
        Fail(ERROR_PATH_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    KernelObject o;
    o.kind = KernelObject::Kind::Find;
    o.program = CurrentProgramId();
    o.name = ContentsOf(r.key);
    o.mask = mask;
    if (!NextListed(o, data)) {
        Fail(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = NewHandle();
    s.kernelObjects[reinterpret_cast<uintptr_t>(h)] = o;
    return h;
}

BOOL FindNextFileW(HANDLE find, LPWIN32_FIND_DATAW data) {
    auto it = S().kernelObjects.find(reinterpret_cast<uintptr_t>(find));
    if (it == S().kernelObjects.end() || it->second.kind != KernelObject::Kind::Find || !data) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!NextListed(it->second, data)) {
        Fail(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE find) {
    auto it = S().kernelObjects.find(reinterpret_cast<uintptr_t>(find));
    if (it == S().kernelObjects.end() || it->second.kind != KernelObject::Kind::Find) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    S().kernelObjects.erase(it);
    return TRUE;
}

// Whether an existing file may be deleted or renamed: not read-only, not a running
// program, not on a write-protected card and not open; sets the error as the device does.
static bool MayChangeFile(const std::u16string& key) {
    if ((ExtraAttributes(key) & FILE_ATTRIBUTE_READONLY) || IsRunningExecutable(key)) {
        Fail(ERROR_ACCESS_DENIED);
        return false;
    }
    if (UnderWriteProtection(key)) {
        Fail(ERROR_WRITE_PROTECT);
        return false;
    }
    if (OpenHandlesOn(key)) {
        Fail(ERROR_SHARING_VIOLATION);
        return false;
    }
    return true;
}

BOOL DeleteFileW(LPCWSTR path) {
    std::u16string devicePath = FromWide(path);
    Record("DeleteFileW", {}, devicePath);
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || (!r.isFile && !r.isDirectory)) {
        Fail(r.valid && r.parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (r.isDirectory) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!MayChangeFile(r.key)) return FALSE;
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    S().files.erase(r.key);
    S().attributes.erase(r.key);
    return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR path) {
    std::u16string devicePath = FromWide(path);
    Record("RemoveDirectoryW", {}, devicePath);
    ResolvedPath r = Resolve(devicePath);
    if (!r.valid || (!r.isFile && !r.isDirectory)) {
        Fail(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (r.isFile) {
        Fail(ERROR_DIRECTORY);
        return FALSE;
    }
    // A storage card's folder is where the card is mounted, not a folder that can go.
    if (r.isRoot || (ExtraAttributes(r.key) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_TEMPORARY))) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (UnderWriteProtection(r.key)) {
        Fail(ERROR_WRITE_PROTECT);
        return FALSE;
    }
    if (!FolderEntries(ContentsOf(r.key)).empty()) {
        Fail(ERROR_DIR_NOT_EMPTY);
        return FALSE;
    }
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    S().files.erase(r.key);
    S().attributes.erase(r.key);
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    ResolvedPath r = Resolve(FromWide(path));
    if (!CanCreateAt(r)) return FALSE;
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_DISK_FULL);
        return FALSE;
    }
    FileNode& folder = S().files[r.key];
    folder.name = r.name;
    folder.directory = true;
    return TRUE;
}

DWORD GetTempPathW(DWORD length, LPWSTR buffer) {
    static const char16_t kTemp[] = u"\\Temp\\";
    const DWORD units = sizeof(kTemp) / sizeof(kTemp[0]) - 1;
    if (!buffer || length <= units) return units + 1;
    std::copy(kTemp, kTemp + units + 1, buffer);
    return units;
}

BOOL FlushFileBuffers(HANDLE file) {
    Record("FlushFileBuffers", {reinterpret_cast<intptr_t>(file)});
    KernelObject* o = FileOpenFor(file, GENERIC_WRITE);
    if (!o) return FALSE;
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

// Renames a file; the new name must not exist yet, as on Windows CE, where there is no
// way to replace a file in one step.
BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName) {
    std::u16string from = FromWide(existing), to = FromWide(newName);
    Record("MoveFileW", {}, from, to);
    ResolvedPath source = Resolve(from);
    if (!source.valid || !source.isFile) {
        Fail(source.valid && source.parentExists && !source.isDirectory ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!MayChangeFile(source.key)) return FALSE;
    ResolvedPath target = Resolve(to);
    if (!CanCreateAt(target)) return FALSE;
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    auto node = S().files.extract(source.key);
    node.key() = target.key;
    node.mapped().name = target.name;
    S().files.insert(std::move(node));
    auto attributes = S().attributes.find(source.key);
    if (attributes != S().attributes.end()) {
        S().attributes[target.key] = attributes->second;
        S().attributes.erase(source.key);
    }
    return TRUE;
}
