// Kernel services: named mutexes, the local heap with its accounting, the module name,
// the C runtime's 16-bit string routines, and the record of calls.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "clipboard.h"
#include "faults.h"
#include "state.h"

namespace sim {

Call& Record(const char* name, std::vector<intptr_t> args, std::u16string text, std::u16string text2) {
    DeviceState& s = S();
    s.calls.push_back(Call{CurrentProgramId(), name, std::move(args), std::move(text), std::move(text2), 0});
    return s.calls.back();
}

static WCHAR FoldUpper(WCHAR c) {
    if (c >= u'a' && c <= u'z') return static_cast<WCHAR>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<WCHAR>(c - 32);
    if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<WCHAR>(c - 32);  // full-width letters
    return c;
}

std::u16string Lower(std::u16string s) {
    for (auto& c : s) {
        if (c >= u'A' && c <= u'Z') c = static_cast<WCHAR>(c + 32);
        else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) c = static_cast<WCHAR>(c + 32);
        else if (c >= 0xFF21 && c <= 0xFF3A) c = static_cast<WCHAR>(c + 32);
    }
    return s;
}

std::string ToUtf8(const std::u16string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string FromUtf8(const std::string& s) {
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        uint32_t c;
        int extra;
        if (b < 0x80) { c = b; extra = 0; }
        else if ((b >> 5) == 6) { c = b & 0x1F; extra = 1; }
        else if ((b >> 4) == 14) { c = b & 0x0F; extra = 2; }
        else { c = b & 0x07; extra = 3; }
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i) c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u16string FromWide(LPCWSTR s) {
    if (!s || IS_INTRESOURCE(s)) return std::u16string();
    return std::u16string(s);
}

void ReleaseKernelObjectsOf(Program* p) {
    DeviceState& s = S();
    for (auto it = s.kernelObjects.begin(); it != s.kernelObjects.end();) {
        if (it->second.program != p->id) {
            ++it;
            continue;
        }
        if (it->second.kind == KernelObject::Kind::Mutex && !it->second.name.empty()) {
            auto m = s.mutexes.find(it->second.name);
            if (m != s.mutexes.end() && --m->second <= 0) s.mutexes.erase(m);
        }
        it = s.kernelObjects.erase(it);
    }
}

}  // namespace sim

using namespace sim;

// ---- mutexes and handles ----

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
    DeviceState& s = S();
    std::u16string n = FromWide(name);
    Record("CreateMutexW", {initialOwner}, n);
    if (FaultHere(FaultPoint::MutexCreation)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    KernelObject o;
    o.kind = KernelObject::Kind::Mutex;
    o.program = CurrentProgramId();
    o.name = n;
    HANDLE h = NewHandle();
    s.kernelObjects[reinterpret_cast<uintptr_t>(h)] = o;
    if (!n.empty()) {
        int& count = s.mutexes[n];
        Fail(count > 0 ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
        ++count;
    } else {
        Fail(ERROR_SUCCESS);
    }
    return h;
}

BOOL ReleaseMutex(HANDLE) { return TRUE; }

BOOL CloseHandle(HANDLE handle) {
    DeviceState& s = S();
    Record("CloseHandle", {reinterpret_cast<intptr_t>(handle)});
    auto it = s.kernelObjects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == s.kernelObjects.end() || it->second.kind == KernelObject::Kind::Find) {
        Fail(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (it->second.kind == KernelObject::Kind::Mutex && !it->second.name.empty()) {
        auto m = s.mutexes.find(it->second.name);
        if (m != s.mutexes.end() && --m->second <= 0) s.mutexes.erase(m);
    }
    s.kernelObjects.erase(it);
    return TRUE;
}

// ---- the local heap ----

namespace sim {

int HeapOfCaller() {
    if (Program* p = CurrentProgram()) return p->id;
    return S().builtinRunning;
}


void* NewHeapBlock(size_t bytes, bool zero, int heap, int owner) {
    DeviceState& s = S();
    // Past the block the host keeps a zero word, unless told not to, so that a program
    // which may only count to the NUL (another program's block has no size it can ask)
    // finds one.
    size_t granule = s.heapGranule ? s.heapGranule : 1;
    size_t rounded = (bytes + granule - 1) / granule * granule;
    size_t guard = s.zeroWordAfterBlocks ? kHeapGuardBytes : 0;
    size_t host = ((rounded + 1) & ~size_t(1)) + guard;
    auto* block = static_cast<unsigned char*>(std::malloc(host ? host : 1));
    if (!block) return nullptr;
    // Fresh memory that was not asked to be zeroed holds garbage, as on the device, the
    // slack that rounding adds included.
    std::memset(block, zero ? 0 : 0xCD, host);
    std::memset(block + host - guard, 0, guard);
    s.heap[block] = HeapBlock{block, bytes, owner, ++s.heapSerial, heap, rounded};
    return block;
}

void* AllocateForCaller(size_t bytes, bool zero) {
    if (FaultHere(FaultPoint::LocalAlloc)) {
        Fail(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    int heap = HeapOfCaller();
    void* block = NewHeapBlock(bytes, zero, heap, heap);
    if (!block) Fail(ERROR_NOT_ENOUGH_MEMORY);
    return block;
}

}  // namespace sim

HLOCAL LocalAlloc(UINT flags, size_t bytes) {
    Record("LocalAlloc", {static_cast<intptr_t>(flags), static_cast<intptr_t>(bytes)});
    return AllocateForCaller(bytes, (flags & LMEM_ZEROINIT) != 0);
}

HLOCAL LocalFree(HLOCAL block) {
    DeviceState& s = S();
    Record("LocalFree", {reinterpret_cast<intptr_t>(block)});
    if (!block) return nullptr;
    auto it = s.heap.find(block);
    // Another program's block is not in this heap, and one the clipboard has taken is no
    // longer the program's to free.
    if (it == s.heap.end() || it->second.heap != HeapOfCaller() || it->second.owner == kClipboardOwner) {
        s.badFrees++;
        Fail(ERROR_INVALID_HANDLE);
        return block;
    }
    s.heap.erase(it);
    std::free(block);
    return nullptr;
}

size_t LocalSize(HLOCAL block) {
    auto it = S().heap.find(block);
    if (it != S().heap.end() && (it->second.heap == HeapOfCaller() || LendsClipboardSize(block)))
        return it->second.rounded;
    Fail(ERROR_INVALID_HANDLE);
    return 0;
}

// ---- module ----

DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size) {
    Program* p = CurrentProgram();
    if (module) {
        for (auto& other : S().programs)
            if (other->instance == module) p = other.get();
    }
    if (!p || !path || size == 0) {
        Fail(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::u16string& exe = p->exePath;
    if (exe.size() >= size) {
        std::copy(exe.begin(), exe.begin() + (size - 1), path);
        path[size - 1] = 0;
        Fail(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::copy(exe.begin(), exe.end(), path);
    path[exe.size()] = 0;
    return static_cast<DWORD>(exe.size());
}

HMODULE GetModuleHandleW(LPCWSTR name) {
    Program* p = CurrentProgram();
    if (!name) return p ? p->instance : nullptr;
    return nullptr;
}

// ---- 16-bit string routines ----

size_t wcslen(const WCHAR* s) {
    size_t n = 0;
    while (s[n]) ++n;
    return n;
}

WCHAR* wcscpy(WCHAR* dst, const WCHAR* src) {
    WCHAR* d = dst;
    while ((*d++ = *src++) != 0) {
    }
    return dst;
}

WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count) {
    size_t i = 0;
    for (; i < count && src[i]; ++i) dst[i] = src[i];
    for (; i < count; ++i) dst[i] = 0;
    return dst;
}

WCHAR* wcscat(WCHAR* dst, const WCHAR* src) {
    wcscpy(dst + wcslen(dst), src);
    return dst;
}

int wcscmp(const WCHAR* a, const WCHAR* b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return (*a > *b) - (*a < *b);
}

int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (a[i] != b[i]) return (a[i] > b[i]) - (a[i] < b[i]);
        if (!a[i]) return 0;
    }
    return 0;
}

int _wcsicmp(const WCHAR* a, const WCHAR* b) {
    for (;; ++a, ++b) {
        WCHAR x = FoldUpper(*a), y = FoldUpper(*b);
        if (x != y || !x) return (x > y) - (x < y);
    }
}

WCHAR* _wcsupr(WCHAR* s) {
    for (WCHAR* c = s; *c; ++c) *c = FoldUpper(*c);
    return s;
}

const WCHAR* wcschr(const WCHAR* s, WCHAR c) {
    for (;; ++s) {
        if (*s == c) return s;
        if (!*s) return nullptr;
    }
}

WCHAR* wcschr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcschr(static_cast<const WCHAR*>(s), c)); }

const WCHAR* wcsrchr(const WCHAR* s, WCHAR c) {
    const WCHAR* last = nullptr;
    for (;; ++s) {
        if (*s == c) last = s;
        if (!*s) return last;
    }
}

WCHAR* wcsrchr(WCHAR* s, WCHAR c) { return const_cast<WCHAR*>(wcsrchr(static_cast<const WCHAR*>(s), c)); }

int lstrlenW(LPCWSTR s) { return s ? static_cast<int>(wcslen(s)) : 0; }
