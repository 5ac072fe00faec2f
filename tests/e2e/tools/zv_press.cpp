// zv_press: presses keys as the Windows input stream has them, into whatever window has
// the keyboard focus on the Windows side. Under Wine, keys typed on the X side go to the
// thread of the X-focused window instead; moving the X focus onto a popup menu and off it
// again makes Wine reread the keyboard from X at moments a test cannot choose.
//
//   zv_press.exe VK [VK ...]
//
// Each VK (decimal or 0x-hex) is pressed and released in turn. Exit code 0, or 1 for bad
// arguments or when the system refused an event.
#include "zv_common.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return zv::PrintUsage("usage: zv_press.exe VK [VK ...]\n");
    for (int i = 1; i < argc; ++i) {
        long long vk = 0;
        if (!zv::ParseNumber(argv[i], &vk) || vk <= 0 || vk > 0xFE)
            return zv::PrintUsage("usage: zv_press.exe VK [VK ...]\n");
        INPUT events[2] = {};
        for (int e = 0; e < 2; ++e) {
            events[e].type = INPUT_KEYBOARD;
            events[e].ki.wVk = static_cast<WORD>(vk);
            events[e].ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_VSC));
            events[e].ki.dwFlags = e ? KEYEVENTF_KEYUP : 0;
        }
        if (SendInput(2, events, sizeof(INPUT)) != 2) return 1;
    }
    return 0;
}
