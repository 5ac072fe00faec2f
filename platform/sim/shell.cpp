// The device's shell: ShellExecuteEx, the special folders as item-id lists, and shortcut
// files in the device's own format, "<length>#<target>".
#include "shell.h"

#include <cstring>

#include "faults.h"
#include "files.h"
#include "registry.h"

namespace sim {

namespace {

constexpr DWORD kErrorNoAssociation = 1155;
constexpr size_t kMaxShortcutTarget = 256;
constexpr size_t kShortcutReadLimit = 1024;

struct ItemIdList {
    int program = 0;
    std::u16string path;
    std::vector<uint8_t> bytes;
};

}  // namespace

struct ShellState {
    std::vector<ShellExecution> executions;
    std::map<uintptr_t, ItemIdList> idLists;
    std::map<int, std::u16string> movedFolders;
    bool desktopHasPath = false;
};

namespace {

ShellState& Shell() { return PartOf(S().shell); }

std::u16string ShortcutText(const std::u16string& target) {
    std::string digits = std::to_string(target.size());
    return std::u16string(digits.begin(), digits.end()) + u"#" + target;
}

// Parses "<length>#<target>": the target is that many units after '#'.
std::optional<std::u16string> ParseShortcut(const std::u16string& text) {
    size_t hash = text.find(u'#');
    if (hash == 0 || hash == std::u16string::npos || hash > 4) return std::nullopt;
    size_t length = 0;
    for (size_t i = 0; i < hash; ++i) {
        if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
        length = length * 10 + (text[i] - u'0');
    }
    if (length == 0 || hash + 1 + length > text.size()) return std::nullopt;
    return text.substr(hash + 1, length);
}

std::optional<std::u16string> ReadShortcut(const ResolvedPath& r) {
    if (!r.valid || !r.isFile) return std::nullopt;
    const std::vector<uint8_t>& file = NodeAt(r.key)->bytes;
    std::string bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), kShortcutReadLimit)));
    return ParseShortcut(FromUtf8(bytes));
}

bool IsUrl(const std::u16string& file) {
    size_t colon = file.find(u':');
    if (colon == std::u16string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i) {
        char16_t c = file[i];
        bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'+' ||
                  c == u'-' || c == u'.';
        if (!ok) return false;
    }
    return true;
}

// What the shell can open: a link with a scheme, an existing file or folder, or a program
// in \Windows named without a folder.
bool CanOpen(const std::u16string& file) {
    if (file.empty()) return false;
    if (IsUrl(file)) return true;
    std::u16string path = file.find(u'\\') == std::u16string::npos ? u"\\Windows\\" + file : file;
    ResolvedPath r = Resolve(path);
    return r.valid && (r.isFile || r.isDirectory);
}

}  // namespace

const std::vector<ShellExecution>& Device::ShellExecutions() const { return Shell().executions; }
void Device::GiveDesktopAPath(bool on) { Shell().desktopHasPath = on; }

size_t Device::LiveItemIdLists(int program) const {
    size_t n = 0;
    for (auto& [key, list] : Shell().idLists)
        if (program == 0 || list.program == program) ++n;
    return n;
}

void Device::MoveSpecialFolder(int csidl, const std::u16string& devicePath) { Shell().movedFolders[csidl] = devicePath; }

std::u16string SpecialFolderPath(int csidl) {
    auto moved = Shell().movedFolders.find(csidl);
    if (moved != Shell().movedFolders.end()) return moved->second;
    switch (csidl) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return u"\\Windows\\Desktop";
    case CSIDL_STARTUP: return u"\\Windows\\StartUp";
    case CSIDL_PROGRAMS: return u"\\Windows\\Programs";
    case CSIDL_PERSONAL: return u"\\My Documents";
    default: return u"";
    }
}

void Device::PlaceShortcut(const std::u16string& devicePath, const std::u16string& target) {
    if (std::vector<uint8_t>* bytes = PlaceFileBytes(devicePath)) {
        std::string text = ToUtf8(ShortcutText(target));
        bytes->assign(text.begin(), text.end());
    }
}

std::optional<std::u16string> Device::ShortcutTarget(const std::u16string& devicePath) const {
    return ReadShortcut(Resolve(devicePath));
}

void Device::InstallApplication(const std::u16string& name, const std::u16string& folder) {
    std::u16string key = u"Software\\Apps\\" + name;
    SetRegistryDword(key, u"Instl", 1);
    SetRegistryString(key, u"InstlDir", folder);
}

}  // namespace sim

using namespace sim;

BOOL ShellExecuteEx(LPSHELLEXECUTEINFOW info) {
    Record("ShellExecuteEx",
           {info ? static_cast<intptr_t>(info->cbSize) : 0, info ? static_cast<intptr_t>(info->fMask) : 0,
            info ? info->nShow : 0},
           info ? FromWide(info->lpFile) : u"", info ? FromWide(info->lpParameters) : u"");
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFOW)) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShellExecution e;
    e.program = CurrentProgramId();
    e.cbSize = info->cbSize;
    e.fMask = info->fMask;
    e.hwnd = info->hwnd;
    e.verb = FromWide(info->lpVerb);
    e.file = FromWide(info->lpFile);
    e.parameters = FromWide(info->lpParameters);
    e.hasParameters = info->lpParameters != nullptr;
    e.hasDirectory = info->lpDirectory != nullptr;
    e.nShow = info->nShow;
    ShellState& shell = Shell();
    bool fails = FaultHere(FaultPoint::ShellExecute);
    e.succeeded = !fails && CanOpen(e.file);
    shell.executions.push_back(e);
    if (!e.succeeded) {
        info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(fails ? 31 : 2));
        Fail(fails ? kErrorNoAssociation : ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    info->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(33));
    return TRUE;
}

HRESULT SHGetSpecialFolderLocation(HWND, int csidl, LPITEMIDLIST* idList) {
    Record("SHGetSpecialFolderLocation", {csidl});
    if (!idList) return E_INVALIDARG;
    *idList = nullptr;
    std::u16string path = SpecialFolderPath(csidl);
    if (path.empty()) return E_INVALIDARG;
    if (FaultHere(FaultPoint::SpecialFolder)) return E_FAIL;
    // One item holding the folder's path, then the terminating zero-length item. The
    // namespace's root is the empty list, and has no path.
    ItemIdList list;
    list.program = CurrentProgramId();
    if (csidl != CSIDL_DESKTOP || Shell().desktopHasPath) list.path = path;
    size_t itemSize = list.path.empty() ? 0 : 2 + list.path.size() * 2;
    list.bytes.assign(itemSize + 2, 0);
    USHORT cb = static_cast<USHORT>(itemSize);
    std::memcpy(list.bytes.data(), &cb, 2);
    std::memcpy(list.bytes.data() + 2, list.path.data(), list.path.size() * 2);
    auto* pointer = reinterpret_cast<LPITEMIDLIST>(list.bytes.data());
    Shell().idLists[reinterpret_cast<uintptr_t>(pointer)] = std::move(list);
    *idList = pointer;
    return S_OK;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST idList, LPWSTR path) {
    Record("SHGetPathFromIDList", {reinterpret_cast<intptr_t>(idList)});
    auto it = Shell().idLists.find(reinterpret_cast<uintptr_t>(idList));
    if (!path || it == Shell().idLists.end() || it->second.path.empty() || FaultHere(FaultPoint::PathFromIdList)) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::u16string& folder = it->second.path;
    size_t n = std::min<size_t>(folder.size(), MAX_PATH - 1);
    std::copy(folder.begin(), folder.begin() + n, path);
    path[n] = 0;
    return TRUE;
}

void CoTaskMemFree(LPVOID block) {
    Record("CoTaskMemFree", {reinterpret_cast<intptr_t>(block)});
    if (!block) return;
    if (!Shell().idLists.erase(reinterpret_cast<uintptr_t>(block))) S().badFrees++;
}

BOOL SHCreateShortcut(LPWSTR shortcut, LPWSTR target) {
    Record("SHCreateShortcut", {}, FromWide(shortcut), FromWide(target));
    if (!shortcut || !target || FromWide(target).size() > kMaxShortcutTarget) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ResolvedPath r = Resolve(FromWide(shortcut));
    if (!CanCreateAt(r)) return FALSE;
    std::string text = ToUtf8(ShortcutText(FromWide(target)));
    FileNode& file = S().files[r.key];
    file.name = r.name;
    file.bytes.assign(text.begin(), text.end());
    return TRUE;
}

BOOL SHGetShortcutTarget(LPWSTR shortcut, LPWSTR target, int maxChars) {
    Record("SHGetShortcutTarget", {maxChars}, FromWide(shortcut));
    if (!shortcut || !target || maxChars <= 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    target[0] = 0;
    std::optional<std::u16string> linked = ReadShortcut(Resolve(FromWide(shortcut)));
    if (!linked) {
        Fail(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (linked->size() + 1 > static_cast<size_t>(maxChars)) {
        Fail(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(linked->begin(), linked->end(), target);
    target[linked->size()] = 0;
    return TRUE;
}
