// Resources of a program, read from its compiled .res image (the same bytes the .exe
// carries), and the icons made from them.
#include <cstring>

#include "resources.h"

namespace sim {

namespace {

struct ResourceEntry {
    bool typeIsId = true;
    WORD typeId = 0;
    std::u16string typeName;
    bool nameIsId = true;
    WORD nameId = 0;
    std::u16string name;
    std::vector<unsigned char> data;
};

}  // namespace

struct ResourceTable {
    std::map<int, std::vector<ResourceEntry>> byProgram;
    std::map<uintptr_t, const ResourceEntry*> handles;
    std::map<uintptr_t, IconObject> icons;
};

namespace {

ResourceTable& Table() { return PartOf(S().resources); }

uint32_t Read32(const unsigned char* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }
uint16_t Read16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Reads a name or id field of a resource header; returns the bytes it took.
size_t ReadNameOrId(const unsigned char* p, size_t left, bool& isId, WORD& id, std::u16string& name) {
    if (left >= 4 && Read16(p) == 0xFFFF) {
        isId = true;
        id = Read16(p + 2);
        return 4;
    }
    isId = false;
    size_t used = 0;
    while (used + 2 <= left) {
        WCHAR c = Read16(p + used);
        used += 2;
        if (!c) break;
        name += static_cast<char16_t>(c);
    }
    return used;
}

const std::vector<ResourceEntry>& EntriesOf(Program* p) {
    auto& table = Table().byProgram;
    auto it = table.find(p->id);
    if (it != table.end()) return it->second;
    std::vector<ResourceEntry>& entries = table[p->id];
    const unsigned char* bytes = p->resources.bytes;
    size_t size = p->resources.size, at = 0;
    while (bytes && at + 16 <= size) {
        uint32_t dataSize = Read32(bytes + at), headerSize = Read32(bytes + at + 4);
        if (headerSize < 16 || at + headerSize + dataSize > size) break;
        ResourceEntry e;
        size_t field = at + 8;
        field += ReadNameOrId(bytes + field, at + headerSize - field, e.typeIsId, e.typeId, e.typeName);
        field += ReadNameOrId(bytes + field, at + headerSize - field, e.nameIsId, e.nameId, e.name);
        e.data.assign(bytes + at + headerSize, bytes + at + headerSize + dataSize);
        if (dataSize > 0) entries.push_back(std::move(e));
        at += headerSize + dataSize;
        at = (at + 3) & ~static_cast<size_t>(3);
    }
    return entries;
}

bool Same(LPCWSTR wanted, bool isId, WORD id, const std::u16string& name) {
    if (IS_INTRESOURCE(wanted)) return isId && id == static_cast<WORD>(reinterpret_cast<uintptr_t>(wanted));
    if (isId) {
        if (wanted[0] == u'#') {
            int n = 0;
            for (const WCHAR* c = wanted + 1; *c; ++c) n = n * 10 + (*c - u'0');
            return n == id;
        }
        return false;
    }
    return _wcsicmp(wanted, name.c_str()) == 0;
}

Program* ProgramOf(HMODULE module) {
    if (!module) return CurrentProgram();
    for (auto& p : S().programs)
        if (p->instance == module) return p.get();
    return nullptr;
}

const ResourceEntry* Find(HMODULE module, LPCWSTR name, LPCWSTR type) {
    Program* p = ProgramOf(module);
    if (!p || !name || !type) return nullptr;
    for (const ResourceEntry& e : EntriesOf(p))
        if (Same(type, e.typeIsId, e.typeId, e.typeName) && Same(name, e.nameIsId, e.nameId, e.name)) return &e;
    return nullptr;
}

HICON MakeIcon(int width, bool shared) {
    HICON h = reinterpret_cast<HICON>(NewHandle());
    Table().icons[reinterpret_cast<uintptr_t>(h)] = IconObject{CurrentProgramId(), width, shared};
    return h;
}

}  // namespace

std::vector<IconObject> Device::LiveIconObjects(int program) const {
    std::vector<IconObject> out;
    for (auto& [h, icon] : Table().icons)
        if ((program == 0 || icon.program == program) && !icon.shared) out.push_back(icon);
    return out;
}

const IconObject* FindIcon(HICON icon) {
    auto it = Table().icons.find(reinterpret_cast<uintptr_t>(icon));
    return it == Table().icons.end() ? nullptr : &it->second;
}

}  // namespace sim

using namespace sim;

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type) {
    const ResourceEntry* e = Find(module, name, type);
    Record("FindResourceW", {static_cast<intptr_t>(reinterpret_cast<uintptr_t>(name) & 0xFFFF),
                             static_cast<intptr_t>(reinterpret_cast<uintptr_t>(type) & 0xFFFF)});
    if (!e) {
        Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    HRSRC h = reinterpret_cast<HRSRC>(NewHandle());
    Table().handles[reinterpret_cast<uintptr_t>(h)] = e;
    return h;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    auto it = Table().handles.find(reinterpret_cast<uintptr_t>(resource));
    if (it == Table().handles.end()) {
        Fail(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<unsigned char*>(it->second->data.data());
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    auto it = Table().handles.find(reinterpret_cast<uintptr_t>(resource));
    return it == Table().handles.end() ? 0 : static_cast<DWORD>(it->second->data.size());
}

HICON LoadIconW(HINSTANCE instance, LPCWSTR name) {
    Record("LoadIconW", {static_cast<intptr_t>(reinterpret_cast<uintptr_t>(name) & 0xFFFF)});
    if (!Find(instance, name, RT_GROUP_ICON)) {
        Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return MakeIcon(GetSystemMetrics(SM_CXICON), true);
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int, UINT) {
    Record("LoadImageW", {static_cast<intptr_t>(reinterpret_cast<uintptr_t>(name) & 0xFFFF),
                          static_cast<intptr_t>(type), cx});
    if (type != IMAGE_ICON || !Find(instance, name, RT_GROUP_ICON)) {
        Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return MakeIcon(cx ? cx : GetSystemMetrics(SM_CXICON), false);
}

BOOL DestroyIcon(HICON icon) {
    Record("DestroyIcon", {reinterpret_cast<intptr_t>(icon)});
    auto it = Table().icons.find(reinterpret_cast<uintptr_t>(icon));
    if (it == Table().icons.end()) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Table().icons.erase(it);
    return TRUE;
}
