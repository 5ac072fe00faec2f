// zv_paths: how the desktop backend spells a folder for comparing, given as the system
// hands it out in its other forms.
//
//   zv_paths.exe OUTFILE FOLDER
//
// FOLDER must exist and have a long name. Writes five lines (UTF-8) to OUTFILE:
// GetComparablePath of FOLDER, of its short (8.3) name, of "\\?\" before it, of FOLDER
// with "\sub\.." after it, and the short name itself. Exit code 1: usage; 2: no short
// name; 3: OUTFILE could not be written.
#include "zv_common.h"

#include <cstdio>

#include "platform/platform_paths.h"

static std::string Comparable(const std::wstring& path) {
    wchar_t out[MAX_PATH];
    return GetComparablePath(path.c_str(), out, MAX_PATH) ? zv::ToUtf8(out) : std::string("(refused)");
}

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return zv::PrintUsage("zv_paths.exe OUTFILE FOLDER");
    std::wstring folder = argv[2];
    wchar_t shortName[MAX_PATH];
    DWORD length = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 2;
    std::string lines = Comparable(folder) + "\n" + Comparable(shortName) + "\n" + Comparable(L"\\\\?\\" + folder) +
                        "\n" + Comparable(folder + L"\\sub\\..") + "\n" + zv::ToUtf8(shortName) + "\n";
    return zv::WriteFileAtomically(argv[1], lines) ? 0 : 3;
}
