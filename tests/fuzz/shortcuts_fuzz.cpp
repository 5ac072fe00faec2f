// Shortcut files of any content and an installer record of any type and size: the
// settings dialog looks for Zarvic's shortcuts, then Uninstall decides what to remove and
// removes it. Nothing but Zarvic's own files and folders and the shortcuts that lead to it
// may go.
#include <algorithm>
#include <set>

#include "core/runtime.h"
#include "fuzz_device.h"
#include "platform/sim/dialog.h"
#include "platform/sim/registry.h"
#include "platform/sim/shell.h"

using namespace zarvic_fuzz;

namespace {

std::u16string Lower(std::u16string s) {
    for (char16_t& c : s)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InputBytes input(data, size);
    sim::Device device;
    const std::u16string shortcuts[] = {u"\\Windows\\Desktop\\Zravic.lnk", u"\\Windows\\StartUp\\Zarvic.lnk",
                                        u"\\Windows\\Desktop\\Other.lnk"};
    for (const std::u16string& path : shortcuts) device.PlaceFile(path, input.Piece());
    device.PlaceFile(u"\\My Documents\\Letter.txt", {'x'});
    device.PlaceFile(kExeDir + u"\\Notes.txt", {'n'});
    const std::u16string key = u"Software\\Apps\\Telvory Zarvic";
    device.CreateRegistryKey(key);
    device.SetRegistryValue(key, u"Instl", input.Byte() & 0x0F, input.Piece());
    uint8_t type = input.Byte();
    device.SetRegistryValue(key, u"InstlDir", type & 0x0F, input.Rest());

    // Shortcuts that may go: those whose target is Zarvic.
    const std::u16string quoted = Lower(u"\"" + kExePath + u"\"");
    std::set<std::u16string> mayGo;
    for (const std::u16string& path : shortcuts) {
        auto target = device.ShortcutTarget(path);
        if (target && Lower(*target) == quoted) mayGo.insert(Lower(path));
    }

    device.PlaceFile(kDataPath, DataFileWithHotKey(u'C', true));
    const std::set<std::u16string> before = device.AllPaths();
    int zarvic = StartZarvic(device);
    Command(device, IDM_SETTING);
    if (HWND dialog = device.OpenDialog()) device.TapDialogClose(dialog);
    AnswerBoxes(device, IDOK);
    Command(device, IDM_UNINSTALL);
    AnswerBoxes(device, IDYES);
    FUZZ_CHECK(!device.IsRunning(zarvic));
    const std::set<std::u16string> after = device.AllPaths();
    // An installed copy empties its folder but for the program; a loose one may sit among
    // the person's files and removes only the files it writes or ships.
    bool installed = false;
    for (const sim::ShellExecution& e : device.ShellExecutions()) installed = installed || e.file == u"\\Windows\\ctlpnl.exe";
    const std::set<std::u16string> looseFiles = {Lower(kDataPath), Lower(kExeDir + u"\\ZarvicDat.new"),
                                                 Lower(kExeDir + u"\\Zarvic.htm")};
    for (const std::u16string& path : before) {
        if (after.count(path) || mayGo.count(path)) continue;
        bool inFolder = path.rfind(Lower(kExeDir + u"\\"), 0) == 0 && path != Lower(kExePath);
        FUZZ_CHECK(installed ? inFolder : looseFiles.count(path) == 1);
    }
    FUZZ_CHECK(device.Exists(u"\\My Documents\\Letter.txt"));
    FUZZ_CHECK(device.Exists(kExePath));
    FUZZ_CHECK(device.LiveBlocks(zarvic).empty());
    return 0;
}
