#include "settings_fixture.h"

#include "app/app.h"
#include "platform/sim/resources.h"
#include "platform/sim/sim_api.h"

namespace zarvic_test {

void TrayUiTest::StartFirstTime() {
    StartZarvic();
    ASSERT_NE(device.OpenMessageBox(), nullptr);
    device.AnswerMessageBox(IDOK);
}

void TrayUiTest::Command(int id) { device.Post(MainWindow(), WM_COMMAND, static_cast<WPARAM>(id), 0); }

HWND TrayUiTest::OpenSettings() {
    Command(IDM_SETTING);
    return Dialog();
}

HWND TrayUiTest::OpenAbout() {
    Command(IDM_ABOUT);
    return Dialog();
}

sim::ControlInfo TrayUiTest::Control(int id) const {
    std::optional<sim::ControlInfo> control = device.FindDialogControl(Dialog(), id);
    EXPECT_TRUE(control.has_value()) << "no control " << id << " in the open dialog";
    return control.value_or(sim::ControlInfo{});
}

void TrayUiTest::ReplaceLetter(const std::u16string& text) {
    Tap(104);
    size_t held = Control(104).text.size();
    for (size_t i = 0; i < held; ++i) device.PressKey(VK_BACK);
    device.TypeText(text);
}

int TrayUiTest::DataByte(size_t offset) const {
    auto bytes = device.FileBytes(kDataPath);
    if (!bytes || bytes->size() <= offset) return -1;
    return (*bytes)[offset];
}

void TrayUiTest::ExpectNothingLeft(size_t windowsBefore) const {
    ExpectNoLeaks();
    EXPECT_TRUE(device.LiveIconObjects(zarvic).empty()) << "an icon was not destroyed";
    EXPECT_EQ(device.LiveItemIdLists(zarvic), 0u) << "an item-id list was not freed";
    EXPECT_EQ(ZarvicWindows(), windowsBefore) << "a window was left behind";
}

std::vector<sim::Call> TrayUiTest::CallsSince(size_t since, const std::string& name) const {
    std::vector<sim::Call> out;
    const auto& calls = device.Calls();
    for (size_t i = since; i < calls.size(); ++i)
        if (calls[i].name == name && calls[i].program == zarvic) out.push_back(calls[i]);
    return out;
}

}  // namespace zarvic_test
