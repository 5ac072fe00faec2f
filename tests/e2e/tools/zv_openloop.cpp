// zv_openloop: another program that opens and closes the clipboard every few milliseconds
// for a while, and counts how often someone else held it.
//
//   zv_openloop.exe OUTFILE [INTERVAL_MS [SECONDS]]      (default: 2 ms for 10 s)
//
// Writes {"attempts": N, "failures": M, "first_error": E} (JSON) to OUTFILE and exits with 0.
// Exit code 1: bad arguments; 3: OUTFILE could not be written.
#include "zv_common.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    long long interval = 2, seconds = 10;
    if (argc < 2 || argc > 4 || (argc > 2 && !zv::ParseNumber(argv[2], &interval)) ||
        (argc > 3 && !zv::ParseNumber(argv[3], &seconds)) || interval < 0 || seconds <= 0)
        return zv::PrintUsage("usage: zv_openloop.exe OUTFILE [INTERVAL_MS [SECONDS]]\n");
    long long attempts = 0, failures = 0;
    DWORD firstError = 0;
    ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds) * 1000;
    while (GetTickCount64() < end) {
        attempts++;
        if (OpenClipboard(nullptr)) {
            CloseClipboard();
        } else {
            failures++;
            if (!firstError) firstError = GetLastError();
        }
        Sleep(static_cast<DWORD>(interval));
    }
    char json[128];
    std::snprintf(json, sizeof json, "{\"attempts\": %lld, \"failures\": %lld, \"first_error\": %lu}\n", attempts,
                  failures, static_cast<unsigned long>(firstError));
    return zv::WriteFileAtomically(argv[1], json) ? 0 : 3;
}
