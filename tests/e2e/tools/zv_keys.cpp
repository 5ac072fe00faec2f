// zv_keys: tells whether keys are held, as GetAsyncKeyState reports them to Wine programs.
//
//   zv_keys.exe OUTFILE VK [VK ...]
//
// Writes one line per key to OUTFILE: "VK down" or "VK up" (VK in decimal). Exit code 0,
// or 1 for bad arguments.
#include "zv_common.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 1;
    std::string lines;
    for (int i = 2; i < argc; ++i) {
        long long vk = 0;
        if (!zv::ParseNumber(argv[i], &vk) || vk <= 0 || vk > 0xFE) return 1;
        bool down = (GetAsyncKeyState(static_cast<int>(vk)) & 0x8000) != 0;
        lines += zv::JsonNumber(vk) + (down ? " down\n" : " up\n");
    }
    return zv::WriteFileAtomically(argv[1], lines) ? 0 : 1;
}
