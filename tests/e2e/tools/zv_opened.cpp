// zv_opened: stands in for the program the shell starts to open a document, and records
// what it was asked to open.
//
//   zv_opened.exe OUTFILE [ARG ...]
//
// Writes each ARG on a line of its own (UTF-8) to OUTFILE and exits with 0; a test
// registers it as the program that opens a file type. Exit code 1: no OUTFILE; 3: OUTFILE
// could not be written.
#include "zv_common.h"

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fputws(L"usage: zv_opened.exe OUTFILE [ARG ...]\n", stderr);
        return 1;
    }
    std::string lines;
    for (int i = 2; i < argc; ++i) lines += zv::ToUtf8(argv[i]) + "\n";
    return zv::WriteFileAtomically(argv[1], lines) ? 0 : 3;
}
