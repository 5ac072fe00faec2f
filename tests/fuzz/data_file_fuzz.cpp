// Any data file: load, hot-key registration, the settings dialog closed with OK, save.
// What is written is always 104 bytes and loads back as the same record.
#include <cstring>

#include "core/runtime.h"
#include "core/settings.h"
#include "fuzz_device.h"
#include "platform/sim/dialog.h"

using namespace zarvic_fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 400) return -1;
    std::vector<uint8_t> written;
    {
        sim::Device device;
        device.PlaceFile(kDataPath, std::vector<uint8_t>(data, data + size));
        int zarvic = StartZarvic(device);
        Command(device, IDM_SETTING);
        if (HWND dialog = device.OpenDialog()) device.TapDialogControl(dialog, IDOK);
        AnswerBoxes(device, IDOK);
        SETTINGS saved = g_settings;
        CloseZarvic(device, zarvic);
        written = device.FileBytes(kDataPath).value_or(std::vector<uint8_t>{});
        FUZZ_CHECK(written.size() == SETTINGS_FILE_SIZE);
        FUZZ_CHECK(std::memcmp(written.data() + 4, &saved, sizeof(saved)) == 0);
    }
    sim::Device device;
    device.PlaceFile(kDataPath, written);
    int zarvic = StartZarvic(device);
    FUZZ_CHECK(std::memcmp(written.data() + 4, &g_settings, sizeof(g_settings)) == 0);
    CloseZarvic(device, zarvic);
    FUZZ_CHECK(device.FileBytes(kDataPath) == written);
    return 0;
}
