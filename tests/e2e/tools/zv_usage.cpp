// zv_usage: what a process holds now, as one JSON object in FILE:
//   {"private": bytes, "working_set": bytes, "handles": n, "gdi": n, "user": n}
// (Wine answers 0 for the GDI and USER counts it does not keep.)
//
//   zv_usage.exe --out FILE PID
// Exit code: 0 done, 1 bad arguments or unwritable FILE, 2 no such process.
#include "zv_common.h"

#include <psapi.h>

int wmain(int argc, wchar_t** argv) {
    long long pid = 0;
    if (argc != 4 || std::wcscmp(argv[1], L"--out") != 0 || !zv::ParseNumber(argv[3], &pid))
        return zv::PrintUsage("usage: zv_usage.exe --out FILE PID\n");
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, static_cast<DWORD>(pid));
    if (!process) return 2;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    K32GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    zv::JsonObject record;
    record.Number("private", static_cast<long long>(memory.PrivateUsage))
        .Number("working_set", static_cast<long long>(memory.WorkingSetSize))
        .Number("handles", handles)
        .Number("gdi", GetGuiResources(process, GR_GDIOBJECTS))
        .Number("user", GetGuiResources(process, GR_USEROBJECTS));
    CloseHandle(process);
    return zv::WriteFileAtomically(argv[2], record.Str() + "\n") ? 0 : 1;
}
