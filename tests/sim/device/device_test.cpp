// The simulated device itself: what programs on it can rely on, as on Windows CE.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sim/device.h"
#include "platform/sim/files.h"
#include "platform/sim/input.h"
#include "platform/sim/sim_api.h"

namespace {

// A small program of the test's own: one window that logs what it receives and arms or
// kills timers when asked (timers belong to the window's own thread).
constexpr UINT kArmTimer = WM_APP;      // wParam id, lParam interval
constexpr UINT kKillTimer = WM_APP + 1; // wParam id
constexpr UINT kSleep = WM_APP + 2;     // wParam milliseconds
constexpr UINT kAsk = WM_APP + 3;       // lParam message box style
constexpr UINT kTakeCtrlV = WM_APP + 4; // registers Ctrl+V as hot-key wParam
constexpr UINT kTypeAndSleep = WM_APP + 5;  // sends key wParam, sleeps, notes what was typed

std::u16string g_typed, g_typedBeforeWaking;

std::vector<std::pair<UINT, WPARAM>> g_log;
std::vector<uint64_t> g_tickTimes;
HWND g_window;

LRESULT CALLBACK LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kArmTimer:
        SetTimer(hwnd, wParam, static_cast<UINT>(lParam), nullptr);
        return 0;
    case kKillTimer:
        KillTimer(hwnd, wParam);
        return 0;
    case kSleep:
        Sleep(static_cast<DWORD>(wParam));
        return 0;
    case kAsk:
        MessageBoxW(hwnd, u"?", u"log", static_cast<UINT>(lParam) | MB_SETFOREGROUND);
        return 0;
    case kTypeAndSleep:
        keybd_event(static_cast<BYTE>(wParam), 0, 0, 0);
        keybd_event(static_cast<BYTE>(wParam), 0, KEYEVENTF_KEYUP, 0);
        Sleep(10);
        g_typedBeforeWaking = g_typed;
        return 0;
    case kTakeCtrlV:
        RegisterHotKey(hwnd, static_cast<int>(wParam), MOD_CONTROL, 'V');
        return 0;
    case WM_TIMER:
        g_tickTimes.push_back(GetTickCount());
        [[fallthrough]];
    case WM_USER:
    case WM_HOTKEY:
    case WM_KEYDOWN:
        g_log.emplace_back(message, wParam);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(3);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

int WINAPI LoggingProgram(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = LoggingProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"Logger";
    RegisterClassW(&wc);
    g_window = CreateWindowExW(0, u"Logger", u"log", WS_POPUP, 10, 10, 200, 100, nullptr, nullptr, instance, nullptr);
    ShowWindow(g_window, SW_SHOW);
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) DispatchMessageW(&msg);
    return got == 0 ? static_cast<int>(msg.wParam) : -5;
}

class DeviceTest : public ::testing::Test {
protected:
    sim::Device device;
    int program = 0;
    void SetUp() override {
        g_log.clear();
        g_tickTimes.clear();
        program = device.StartProgram(u"\\logger.exe", &LoggingProgram);
    }
};

}  // namespace

TEST_F(DeviceTest, TimersFireAtTheirTimesOnTheVirtualClock) {
    device.Post(g_window, kArmTimer, 9, 300);
    uint64_t start = device.Now();
    device.Advance(299);
    EXPECT_TRUE(g_tickTimes.empty());
    device.Advance(1000);
    ASSERT_EQ(g_tickTimes.size(), 4u);
    for (size_t i = 0; i < g_tickTimes.size(); ++i) EXPECT_EQ(g_tickTimes[i], start + 300 * (i + 1));
    device.Post(g_window, kKillTimer, 9);
    device.Advance(1000);
    EXPECT_EQ(g_tickTimes.size(), 4u);
}

TEST_F(DeviceTest, ASlowHandlerGetsOneTickNotABacklog) {
    // The timer falls due three times while the program sleeps: one WM_TIMER comes.
    device.Post(g_window, kArmTimer, 1, 100);
    device.Post(g_window, kSleep, 350);
    EXPECT_EQ(g_tickTimes.size(), 1u);
    EXPECT_EQ(g_tickTimes[0], 350u);
}

TEST_F(DeviceTest, PostedMessagesComeBeforeADueTimer) {
    device.Post(g_window, kArmTimer, 2, 10);
    g_log.clear();
    // Both the posted message and the timer are due when the program next looks.
    PostMessageW(g_window, kSleep, 20, 0);
    PostMessageW(g_window, WM_USER, 77, 0);
    device.RunUntilIdle();
    ASSERT_GE(g_log.size(), 2u);
    EXPECT_EQ(g_log[0], std::make_pair(static_cast<UINT>(WM_USER), static_cast<WPARAM>(77)));
    EXPECT_EQ(g_log[1].first, static_cast<UINT>(WM_TIMER));
}

TEST_F(DeviceTest, MessageBoxesTakeEnterAndEscapeAsWin32Documents) {
    struct { UINT style, key; int answer; } cases[] = {  // answer 0: the box stays open
        {MB_OK, VK_ESCAPE, IDOK}, {MB_OKCANCEL, VK_ESCAPE, IDCANCEL}, {MB_YESNOCANCEL, VK_ESCAPE, IDCANCEL},
        {MB_YESNO, VK_ESCAPE, 0}, {MB_OKCANCEL | MB_DEFBUTTON2, VK_RETURN, IDCANCEL},
        {MB_YESNO, VK_RETURN, IDYES}, {MB_YESNO | MB_DEFBUTTON3, VK_RETURN, IDYES}};
    for (auto c : cases) {
        device.Post(g_window, kAsk, 0, static_cast<LPARAM>(c.style));
        device.PressKey(c.key);
        EXPECT_EQ(device.MessageBoxes().back().answer, c.answer) << c.style << " key " << c.key;
        if (device.OpenMessageBox()) device.AnswerMessageBox(IDNO);
    }
}

TEST_F(DeviceTest, AHotKeyGoesAheadOfPostedMessagesAndSynthesisedKeysFireItWhereTheDeviceSaysSo) {
    device.Post(g_window, kTakeCtrlV, 7);
    using Log = std::vector<std::pair<UINT, WPARAM>>;
    const Log fired{{WM_HOTKEY, 7}, {WM_USER, 1}, {WM_KEYDOWN, VK_CONTROL}};
    const Log typed{{WM_USER, 1}, {WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'V'}};
    for (bool fires : {true, false}) {
        device.SetSynthesisedKeysFireHotKeys(fires);
        g_log.clear();
        PostMessageW(g_window, WM_USER, 1, 0);
        for (auto [vk, flags] : {std::pair{VK_CONTROL, 0}, {'V', 0}, {'V', KEYEVENTF_KEYUP}, {VK_CONTROL, KEYEVENTF_KEYUP}})
            keybd_event(static_cast<BYTE>(vk), 0, static_cast<DWORD>(flags), 0);
        device.RunUntilIdle();
        EXPECT_EQ(g_log, fires ? fired : typed) << fires;
        g_log.clear();
        device.PressHotKey(MOD_CONTROL, 'V');
        EXPECT_EQ(g_log, (Log{{WM_KEYDOWN, VK_CONTROL}, {WM_HOTKEY, 7}})) << "the keyboard's own keys fire it " << fires;
    }
}

TEST_F(DeviceTest, ClosingAWindowEndsTheLoopWithTheQuitCode) {
    device.Send(g_window, WM_CLOSE);
    EXPECT_EQ(device.ExitCode(program), 3);
    EXPECT_FALSE(device.Window(g_window).has_value());
}

TEST_F(DeviceTest, HidingTheForegroundWindowHandsActivationToTheNextWindowDown) {
    HWND logger = g_window;
    int second = device.StartProgram(u"\\logger2.exe", &LoggingProgram);
    HWND other = g_window;
    ASSERT_NE(other, logger);
    EXPECT_EQ(device.Foreground(), other);
    EXPECT_EQ(device.ZOrder().front(), other);
    device.Send(other, WM_CLOSE);
    EXPECT_FALSE(device.IsRunning(second));
    EXPECT_EQ(device.Foreground(), logger);
}

TEST_F(DeviceTest, FilesFollowTheDeviceRules) {
    device.PlaceFile(u"\\Docs\\a.txt", {'a'});
    device.PlaceDirectory(u"\\Docs\\Sub");
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(u"\\docs\\*.*", &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    std::vector<std::u16string> names{found.cFileName};
    while (FindNextFileW(find, &found)) names.push_back(found.cFileName);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    FindClose(find);
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a.txt", u"Sub"})) << "no . or .. entries, as on the device";

    HANDLE reader = CreateFileW(u"\\DOCS\\A.TXT", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileW(u"\\Docs\\a.txt", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(DeleteFileW(u"\\Docs\\a.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(reader);

    EXPECT_FALSE(RemoveDirectoryW(u"\\Docs"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIR_NOT_EMPTY));
    device.SetFileReadOnly(u"\\Docs\\a.txt", true);
    EXPECT_FALSE(DeleteFileW(u"\\Docs\\a.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFileW(u"\\logger.exe")) << "missing file";
    device.PlaceFile(u"\\logger.exe", {'M', 'Z'});
    EXPECT_FALSE(DeleteFileW(u"\\logger.exe")) << "the running executable cannot be deleted";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// A listing looks at the folder as it is at each step, in whichever order it comes.
TEST_F(DeviceTest, AFolderIsListedLiveWhileItsEntriesAreDeleted) {
    for (bool backwards : {false, true}) {
        device.ListFoldersBackwards(backwards);
        const std::u16string folder = backwards ? u"\\Back\\" : u"\\Forth\\";
        for (const char16_t* name : {u"a", u"b", u"c", u"d"}) device.PlaceFile(folder + name, {1});
        WIN32_FIND_DATAW found;
        HANDLE find = FindFirstFileW((folder + u"*.*").c_str(), &found);
        ASSERT_NE(find, INVALID_HANDLE_VALUE);
        std::vector<std::u16string> names{found.cFileName};
        EXPECT_TRUE(DeleteFileW((folder + found.cFileName).c_str()));
        EXPECT_TRUE(DeleteFileW((folder + (backwards ? u"b" : u"c")).c_str()));
        while (FindNextFileW(find, &found)) names.push_back(found.cFileName);
        FindClose(find);
        EXPECT_EQ(names, backwards ? (std::vector<std::u16string>{u"d", u"c", u"a"})
                                   : (std::vector<std::u16string>{u"a", u"b", u"d"}));
    }
}

TEST_F(DeviceTest, NamedMutexesAreSharedByEveryProgramUntilTheLastHandleCloses) {
    HANDLE first = CreateMutexW(nullptr, FALSE, u"SHARED");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    HANDLE second = CreateMutexW(nullptr, FALSE, u"SHARED");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(first);
    EXPECT_TRUE(device.MutexExists(u"SHARED"));
    CloseHandle(second);
    EXPECT_FALSE(device.MutexExists(u"SHARED"));
}

TEST_F(DeviceTest, TheHeapAccountsForEveryBlockAndCatchesBadFrees) {
    size_t before = device.LiveBlocks(0).size();
    HLOCAL block = LocalAlloc(LPTR, 10);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(LocalSize(block), 32u) << "rounded up, as CE 6 does";
    EXPECT_EQ(static_cast<unsigned char*>(block)[31], 0);
    HLOCAL fixed = LocalAlloc(LMEM_FIXED, 3);
    EXPECT_NE(static_cast<unsigned char*>(fixed)[31], 0) << "slack that was not asked to be zeroed";
    LocalFree(fixed);
    EXPECT_EQ(device.LiveBlocks(0).size(), before + 1);
    EXPECT_EQ(LocalFree(block), nullptr);
    EXPECT_EQ(LocalFree(block), block) << "a second free fails";
    EXPECT_EQ(device.BadFrees(), 1u);
    device.FailNext(sim::FaultPoint::LocalAlloc, 1);
    HLOCAL kept = LocalAlloc(LMEM_FIXED, 4);
    EXPECT_NE(kept, nullptr);
    EXPECT_EQ(LocalAlloc(LMEM_FIXED, 4), nullptr);
    EXPECT_NE(LocalAlloc(LMEM_FIXED, 4), nullptr);
}

namespace {

LRESULT CALLBACK TypingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) g_typed += static_cast<char16_t>(wParam);
      return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI TypingProgram(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TypingProc;
    wc.lpszClassName = u"Typist";
    RegisterClassW(&wc);
    HWND w = CreateWindowExW(0, u"Typist", u"typist", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, instance, nullptr);
    ShowWindow(w, SW_SHOW);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
}  // namespace

TEST(DeviceKeyboard, CharactersFollowTheModifiersAsTheyWereWhenEachKeyCame) {
    sim::Device device;
    g_typed.clear();
    device.StartProgram(u"\\typist.exe", &TypingProgram);
    device.TypeText(u"aB1");
    EXPECT_EQ(g_typed, u"aB1");
    // Keys queued before the program reads them are translated with the state they came
    // with, even though Shift is up again by the time the program reads them.
    g_typed.clear();
    for (auto [vk, up] : {std::pair{VK_SHIFT, false}, {'Q', false}, {'Q', true}, {VK_SHIFT, true}, {'Q', false}, {'Q', true}})
        device.QueueKey(static_cast<UINT>(vk), up);
    device.RunUntilIdle();
    EXPECT_EQ(g_typed, u"Qq");
}

TEST_F(DeviceTest, WhileAProgramSleepsTheOthersHandleTheirInput) {
    device.StartProgram(u"\\typist.exe", &TypingProgram);
    g_typed.clear();
    device.Post(g_window, kTypeAndSleep, 'A');
    EXPECT_EQ(g_typedBeforeWaking, u"a");
}
