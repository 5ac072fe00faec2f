// Instruction counts of opening the history menu with forty entries and painting it once:
// the current owner-draw code against the old one (kept as the test oracle), and the
// current code for entries of 1 MiB against entries of 1 KiB. `count` runs natively and
// gives the platform calls that measure text, make fonts or read the registry per item.
#include <valgrind/callgrind.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../sim/menu_draw_oracle.cpp"
#include "../sim/popup_font.h"
#include "core/settings.h"
#include "history/history.h"
#include "menu/history_menu.h"
#include "platform/sim/device.h"
#include "platform/sim/font_model.h"
#include "platform/sim/registry.h"
#include "platform/sim/state.h"

extern const unsigned char kZarvicResources[];
extern const size_t kZarvicResourcesSize;

namespace {

const char* const kList[] = {
    "case menu_open_old_1kib",
    "case menu_open_1kib",
    "case menu_open_1mib",
    "ratio menu_open menu_open_1kib menu_open_old_1kib 0.25",
    "count menu_calls_per_item 8",
    "ratio menu_1mib_over_1kib menu_open_1mib menu_open_1kib 1.1",
};

const char* const kCountedCalls[] = {"GetTextExtentExPointW", "GetTextMetricsW", "CreateFontIndirectW",
                                     "RegOpenKeyExW",         "RegQueryValueExW", "RegCloseKey"};

std::function<void()> g_inZarvic;

void CALLBACK RunQueued(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    KillTimer(hwnd, id);
    std::function<void()> fn = std::move(g_inZarvic);
    g_inZarvic = nullptr;
    fn();
}

// Zarvic on a device whose popup-menu font is in the registry and whose system font is
// small enough for all forty entries to be shown, each entry `units` long on one line.
class MenuBench {
public:
    explicit MenuBench(size_t units) {
        zarvic_test::SetPopupFont(u"Menu Gothic", -16);
        sim::FontModel system;
        system.height = 8;
        system.externalLeading = 2;
        sim::Device::Current().SetFontModel(u"System", 0, system);

        std::vector<uint8_t> data(104, 0);  // the data file: hot-key Ctrl+Alt+C, preview on
        data[4] = 'C';
        data[4 + 16] = data[4 + 32] = data[4 + 64] = data[4 + 68] = data[4 + 72] = 1;
        device_.PlaceFile(u"\\Program Files\\Zarvic\\ZarvicDat.bin", data);
        device_.PlaceFile(u"\\Program Files\\Zarvic\\Zarvic.exe", {'M', 'Z'});
        zarvic_ = device_.StartProgram(u"\\Program Files\\Zarvic\\Zarvic.exe", &WinMain,
                                       sim::ResourceImage{kZarvicResources, kZarvicResourcesSize});
        for (int k = 0; k < HISTORY_MAX_ENTRIES; ++k) {
            WCHAR* text = static_cast<WCHAR*>(LocalAlloc(LPTR, (units + 1) * sizeof(WCHAR)));
            for (size_t i = 0; i < units; ++i) text[i] = static_cast<WCHAR>(u'a' + (i + k) % 26);
            g_historySlots[k] = text;
        }
    }
    void RunInZarvic(std::function<void()> fn) {
        g_inZarvic = std::move(fn);
        sim::DeviceState& s = device_.State();
        s.timers.push_back(sim::Timer{sim::FindProgram(zarvic_), device_.FindWindow(u"ZarvicEx"), 0x5EED, 0, s.now,
                                      &RunQueued});
        s.generation++;
        device_.RunUntilIdle();
    }
    void MakeOwner(int old) {
        RunInZarvic([this, old] { owner_ = oracle::CreateMenuOwner(old); });
    }
    // Returns once the menu is open and painted.
    void OpenMenu() {
        HWND owner = owner_;
        RunInZarvic([owner] { ShowHistoryMenu(owner, POINT{10, 10}); });
    }
    void CloseMenu() { device_.PressKey(VK_ESCAPE); }
    sim::Device& Device() { return device_; }
    int Zarvic() const { return zarvic_; }

private:
    sim::Device device_;
    int zarvic_ = 0;
    HWND owner_ = nullptr;
};

int RunCase(const std::string& name) {
    size_t units = name == "menu_open_1mib" ? 1024 * 1024 : 1024;
    if (name != "menu_open_1mib" && name != "menu_open_1kib" && name != "menu_open_old_1kib") return 2;
    MenuBench bench(units);
    bench.MakeOwner(name == "menu_open_old_1kib");
    // the device's record of calls starts empty, with room for what the case records
    bench.Device().ClearCalls();
    bench.Device().State().calls.reserve(1 << 16);
    CALLGRIND_START_INSTRUMENTATION;
    bench.OpenMenu();
    CALLGRIND_STOP_INSTRUMENTATION;
    int drawn = oracle::g_itemsDrawn;
    bench.CloseMenu();
    return drawn > HISTORY_MAX_ENTRIES ? 0 : 1;  // every entry was painted
}

int RunCount(const std::string& name) {
    if (name != "menu_calls_per_item") return 2;
    MenuBench bench(1024);
    bench.MakeOwner(0);
    bench.Device().ClearCalls();
    oracle::g_itemsDrawn = 0;
    bench.OpenMenu();
    size_t calls = 0;
    for (const char* counted : kCountedCalls) calls += bench.Device().Calls(counted, bench.Zarvic()).size();
    int drawn = oracle::g_itemsDrawn;
    bench.CloseMenu();
    if (drawn <= HISTORY_MAX_ENTRIES) return 1;
    std::printf("%s %.4g\n", name.c_str(), static_cast<double>(calls) / drawn);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const char* line : kList) std::printf("%s\n", line);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "case") == 0) return RunCase(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "count") == 0) return RunCount(argv[2]);
    std::fprintf(stderr, "usage: %s --list | case NAME | count NAME\n", argv[0]);
    return 2;
}
