// zv_usage: what a process holds now, as one JSON object in FILE:
//   {"private": bytes, "working_set": bytes, "handles": n, "gdi": n, "windows": n}
//
// Wine 8 answers 0 to GetProcessHandleCount and GetGuiResources for every process, so
// a check built on them could never fail. The counts come from where Wine keeps them:
//  - handles: the kernel handle count of the system's process list (wineserver's own);
//  - gdi: the live, non-stock entries of the process's GDI handle table, which Wine (like
//    Windows) publishes through PEB.GdiSharedHandleTable;
//  - windows: every window, top-level, child or message-only, that the process owns.
// A count that cannot be read is -1, never 0.
//
//   zv_usage.exe --out FILE PID
// Exit code: 0 done, 1 bad arguments or unwritable FILE, 2 no such process.
#include "zv_common.h"

#include <psapi.h>
#include <winternl.h>

#include <vector>

namespace {

using QuerySystemInformation = NTSTATUS(NTAPI*)(SYSTEM_INFORMATION_CLASS, void*, ULONG, ULONG*);
using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);

template <class Function>
Function NtFunction(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), name)));
}

long long KernelHandles(DWORD pid) {
    auto query = NtFunction<QuerySystemInformation>("NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<unsigned char> buffer(1 << 16);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = query(SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L))  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    if (status < 0) return -1;
    for (size_t at = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + at);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == pid) return entry->HandleCount;
        if (!entry->NextEntryOffset) return -1;
        at += entry->NextEntryOffset;
    }
}

// One entry of the GDI handle table as Wine lays it out (24 bytes on every architecture).
struct GdiEntry {
    unsigned long long object;
    unsigned int owner;
    unsigned char extTypeAndStock;  // bit 7: a stock object
    unsigned char generation;
    unsigned char type;             // 0: a free entry
    unsigned char flags;
    unsigned long long userPointer;
};
static_assert(sizeof(GdiEntry) == 24, "Wine's GDI_HANDLE_ENTRY");
constexpr size_t kGdiEntries = 0x10000;

long long GdiObjects(HANDLE process) {
    auto query = NtFunction<QueryInformationProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) < 0) return -1;
    // PEB.GdiSharedHandleTable: offset 0xF8 in a 64-bit PEB, 0x94 in a 32-bit one.
    const size_t offset = sizeof(void*) == 8 ? 0xF8 : 0x94;
    void* table = nullptr;
    SIZE_T read = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + offset, &table, sizeof table,
                           &read) ||
        !table)
        return -1;
    std::vector<GdiEntry> entries(kGdiEntries);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size() * sizeof(GdiEntry), &read)) return -1;
    long long live = 0;
    for (const GdiEntry& e : entries) live += e.type != 0 && !(e.extTypeAndStock & 0x80);
    return live;
}

struct WindowCount {
    DWORD pid;
    long long count;
};

BOOL CALLBACK CountOne(HWND window, LPARAM param) {
    auto* counting = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    counting->count += owner == counting->pid;
    return TRUE;
}

BOOL CALLBACK CountWithChildren(HWND window, LPARAM param) {
    CountOne(window, param);
    EnumChildWindows(window, CountOne, param);  // every descendant, not only the children
    return TRUE;
}

long long Windows(DWORD pid) {
    WindowCount counting{pid, 0};
    EnumWindows(CountWithChildren, reinterpret_cast<LPARAM>(&counting));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        CountWithChildren(w, reinterpret_cast<LPARAM>(&counting));
    return counting.count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    long long pid = 0;
    if (argc != 4 || std::wcscmp(argv[1], L"--out") != 0 || !zv::ParseNumber(argv[3], &pid))
        return zv::PrintUsage("usage: zv_usage.exe --out FILE PID\n");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(pid));
    if (!process) return 2;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    zv::JsonObject record;
    record.Number("private", static_cast<long long>(memory.PrivateUsage))
        .Number("working_set", static_cast<long long>(memory.WorkingSetSize))
        .Number("handles", KernelHandles(static_cast<DWORD>(pid)))
        .Number("gdi", GdiObjects(process))
        .Number("windows", Windows(static_cast<DWORD>(pid)));
    CloseHandle(process);
    return zv::WriteFileAtomically(argv[2], record.Str() + "\n") ? 0 : 1;
}
