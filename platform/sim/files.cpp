// The device's file system: device paths ("\Program Files\Zarvic\Zarvic.exe") are
// case-insensitive and live in a host folder of their own. Sharing, read-only files,
// write-protected folders and running executables refuse access as Windows CE does.
#include <algorithm>
#include <fstream>
#include <optional>

#include "faults.h"
#include "files.h"

namespace fs = std::filesystem;

namespace sim {

static bool ValidComponent(const std::u16string& c) {
    for (char16_t ch : c)
        if (ch < 32 || ch == u'<' || ch == u'>' || ch == u':' || ch == u'"' || ch == u'|' || ch == u'?' ||
            ch == u'*')
            return false;
    return true;
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
    fs::path host = S().root;
    std::u16string key;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::u16string wanted = Lower(parts[i]);
        std::string actual = ToUtf8(parts[i]);
        std::error_code ec;
        if (fs::is_directory(host, ec)) {
            for (const auto& entry : fs::directory_iterator(host, ec)) {
                if (Lower(FromUtf8(entry.path().filename().string())) == wanted) {
                    actual = entry.path().filename().string();
                    break;
                }
            }
        }
        if (i + 1 == parts.size()) r.parent = host;
        host /= actual;
        key += u"\\" + wanted;
    }
    if (parts.empty()) r.parent = S().root;
    r.valid = true;
    r.host = host;
    r.key = key.empty() ? u"\\" : key;
    r.isRoot = parts.empty();
    std::error_code ec;
    r.isDirectory = fs::is_directory(host, ec);
    r.isFile = fs::is_regular_file(host, ec);
    r.parentExists = fs::is_directory(r.parent, ec);
    return r;
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

static void FillFindData(const fs::directory_entry& e, const std::u16string& key, WIN32_FIND_DATAW* d) {
    *d = WIN32_FIND_DATAW{};
    std::error_code ec;
    bool dir = e.is_directory(ec);
    d->dwFileAttributes = (dir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE) | ExtraAttributes(key);
    // A host link inside the device's folder stands for a folder link or junction.
    if (e.is_symlink(ec)) d->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (!dir) d->nFileSizeLow = static_cast<DWORD>(e.file_size(ec));
    std::u16string name = FromUtf8(e.path().filename().string());
    size_t n = std::min<size_t>(name.size(), MAX_PATH - 1);
    std::copy(name.begin(), name.begin() + n, d->cFileName);
    d->cFileName[n] = 0;
}

struct ListingState {
    bool backwards = false;
};

static ListingState& Listing() { return PartOf(S().listing); }

void ListFoldersBackwards(bool on) { Listing().backwards = on; }

// Looks at the folder as it is now for the entry that follows the last one listed in the
// device's order, and fills data with it.
static bool NextListed(KernelObject& find, WIN32_FIND_DATAW* data) {
    bool backwards = Listing().backwards;
    bool first = find.lastFound.empty();
    std::optional<fs::directory_entry> next;
    std::u16string nextName;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(find.host, ec)) {
        std::u16string name = Lower(FromUtf8(e.path().filename().string()));
        if (!NameMatches(name, find.mask)) continue;
        if (!first && (backwards ? name >= find.lastFound : name <= find.lastFound)) continue;
        if (!next || (backwards ? name > nextName : name < nextName)) {
            next = e;
            nextName = name;
        }
    }
    if (!next) return false;
    FillFindData(*next, (find.name == u"\\" ? u"" : find.name) + u"\\" + nextName, data);
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
        std::ofstream create(r.host, std::ios::binary | std::ios::trunc);
        if (!create) {
            Fail(ERROR_ACCESS_DENIED);
            return INVALID_HANDLE_VALUE;
        }
    }
    KernelObject o;
    o.kind = KernelObject::Kind::File;
    o.program = CurrentProgramId();
    o.name = r.key;
    o.host = r.host;
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
    std::ifstream in(o->host, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(o->position));
    in.read(static_cast<char*>(buffer), toRead);
    DWORD got = in ? toRead : static_cast<DWORD>(std::max<std::streamsize>(0, in.gcount()));
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
    std::fstream out(o->host, std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(o->position));
    out.write(static_cast<const char*>(buffer), writing);
    if (fault) {
        out.close();
        o->position += writing;
        if (written) *written = writing;
        Fail(ERROR_DISK_FULL);
        return FALSE;
    }
    if (!out) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    o->position += toWrite;
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
    std::error_code ec;
    return static_cast<DWORD>(fs::file_size(o->host, ec));
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
    o.host = r.host;
    o.name = r.key;
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
    std::error_code ec;
    fs::remove(r.host, ec);
    S().attributes.erase(r.key);
    return ec ? FALSE : TRUE;
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
    std::error_code ec;
    if (!fs::is_empty(r.host, ec)) {
        Fail(ERROR_DIR_NOT_EMPTY);
        return FALSE;
    }
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_WRITE_FAULT);
        return FALSE;
    }
    fs::remove(r.host, ec);
    S().attributes.erase(r.key);
    return ec ? FALSE : TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    ResolvedPath r = Resolve(FromWide(path));
    if (!CanCreateAt(r)) return FALSE;
    if (FaultHere(FaultPoint::FileChange)) {
        Fail(ERROR_DISK_FULL);
        return FALSE;
    }
    std::error_code ec;
    fs::create_directory(r.host, ec);
    return ec ? FALSE : TRUE;
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
    std::error_code ec;
    fs::rename(source.host, target.host, ec);
    if (ec) {
        Fail(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    auto attributes = S().attributes.find(source.key);
    if (attributes != S().attributes.end()) {
        S().attributes[target.key] = attributes->second;
        S().attributes.erase(source.key);
    }
    return TRUE;
}
