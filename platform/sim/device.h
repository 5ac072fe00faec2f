// The simulated Handheld PC as a test sees it: one device with a screen, a file system,
// programs that run on it, a virtual clock, and a record of the platform calls the
// programs made. Tests act on it as a person at the device would, then look at it.
//
// The device is single-stepped: programs run until every one of them is idle (blocked
// for input with nothing due), and only then does control come back to the test.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "faults.h"
#include "sim_types.h"

namespace sim {

struct DeviceState;

typedef int (*WinMainFunction)(HINSTANCE, HINSTANCE, LPSTR, int);

// Compiled resources (.res image) of a program.
struct ResourceImage {
    const unsigned char* bytes = nullptr;
    size_t size = 0;
};

// One platform call, as recorded for tests.
struct Call {
    int program = 0;                  // program id; 0 for the device or the test
    std::string name;                 // the operation's Win32 name
    std::vector<intptr_t> args;       // its integer and handle arguments, in order
    std::u16string text;              // its main string argument, if any
    std::u16string text2;             // a second string argument, if any
    intptr_t result = 0;
};

struct MessageBoxRecord {
    int program = 0;
    HWND owner = nullptr;
    HWND window = nullptr;            // the box's own window while it is shown
    std::u16string text;
    std::u16string caption;
    UINT style = 0;
    int answer = 0;                   // 0 while the box is open
};

// Each program has a local heap of its own, as on the device: LocalSize and LocalFree
// answer only for blocks of the caller's heap. A block the clipboard has taken stays in
// the heap of the program that made it, and GetClipboardData hands out that block.
struct HeapBlock {
    const void* address = nullptr;
    size_t size = 0;                  // as asked of LocalAlloc
    int owner = 0;                    // program id; kClipboardOwner once the clipboard took it
    uint64_t serial = 0;
    int heap = 0;                     // program id (0: the test) whose heap holds it
    size_t rounded = 0;               // what LocalSize answers: size rounded up to the granule
};
constexpr int kClipboardOwner = -1;
// A program outside the device's list (another application): an opener of the clipboard
// and a heap.
constexpr int kElsewhere = -2;

struct WindowInfo {
    HWND handle = nullptr;
    int program = 0;
    std::u16string className;
    std::u16string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    HWND owner = nullptr;
    RECT rect{};                      // screen coordinates
    bool visible = false;
    bool enabled = true;
    bool topmost = false;
};

struct DeviceOptions {
    int screenWidth = 800;
    int screenHeight = 480;
    int taskbarHeight = 26;
};

class Device {
public:
    Device();
    explicit Device(const DeviceOptions& options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    static Device& Current();

    // ---- programs ----
    // Installs nothing: the executable's file must exist (see PlaceFile). Starts the
    // program and runs the device until it is idle. Returns the program id.
    int StartProgram(const std::u16string& exePath, WinMainFunction entry, ResourceImage resources = {},
                     int showCommand = SW_SHOWNORMAL);
    bool IsRunning(int program) const;
    std::optional<int> ExitCode(int program) const;

    // ---- time ----
    void RunUntilIdle();
    // Moves the virtual clock on by the given milliseconds, firing every timer that falls
    // due on the way at its own time.
    void Advance(uint32_t milliseconds);
    uint64_t Now() const;

    // ---- files: device paths such as u"\\Program Files\\Zarvic\\Zarvic.exe" ----
    // The files are held in memory; these make the folders on the way.
    void PlaceFile(const std::u16string& devicePath, const std::vector<uint8_t>& bytes);
    void PlaceDirectory(const std::u16string& devicePath);
    // A folder link (a junction) that stands for another folder: listed with
    // FILE_ATTRIBUTE_REPARSE_POINT, what lies below it is the target's.
    void PlaceFolderLink(const std::u16string& devicePath, const std::u16string& targetFolder);
    // Takes a file or an empty folder away, whatever holds it.
    void RemoveFileOrFolder(const std::u16string& devicePath);
    std::optional<std::vector<uint8_t>> FileBytes(const std::u16string& devicePath) const;
    // The names of a folder's entries, as they were made, in the order of their lower-case names.
    std::vector<std::u16string> FolderNames(const std::u16string& deviceFolder) const;
    // Every file and folder but the root, as lower-case device paths.
    std::set<std::u16string> AllPaths() const;
    bool Exists(const std::u16string& devicePath) const;
    void SetFileReadOnly(const std::u16string& devicePath, bool readOnly);
    // Every file created or written below this folder fails as on a write-protected card.
    void SetWriteProtected(const std::u16string& deviceFolder, bool on);
    // A storage card in the slot: the device shows it as a folder of the root (such as
    // "\\Storage Card") that carries FILE_ATTRIBUTE_TEMPORARY.
    void InsertStorageCard(const std::u16string& rootFolder);

    // ---- windows ----
    HWND FindWindow(const std::u16string& className, const std::u16string& title = u"") const;
    std::vector<WindowInfo> Windows(int program = 0) const;     // 0: every program's
    std::optional<WindowInfo> Window(HWND hwnd) const;
    HWND Foreground() const;
    std::vector<HWND> ZOrder() const;                           // top-level windows, top first
    // Sends a message from outside any program (as another process would) and runs the
    // device until it is idle.
    LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void Post(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // ---- message boxes ----
    const std::vector<MessageBoxRecord>& MessageBoxes() const;
    const MessageBoxRecord* OpenMessageBox() const;
    // Answers the box that is open (the newest), as a tap on its button would.
    void AnswerMessageBox(int answer);

    // ---- keyboard and touch screen (each runs the device until it is idle) ----
    void HoldKey(UINT vk);
    void ReleaseKey(UINT vk);
    void PressKey(UINT vk);               // down and up
    // Types characters as a person would: letters, digits, space, Enter ('\r'), with
    // Shift held around capitals.
    void TypeText(const std::u16string& text);
    void Tap(int x, int y);               // screen coordinates

    // ---- hot-keys ----
    // Presses a key combination: the modifiers go down, the key is pressed, the modifiers
    // come up. Returns whether a registered hot-key took it.
    bool PressHotKey(UINT modifiers, UINT vk);
    // Makes another program hold this combination, so registering it fails.
    void HoldHotKeyElsewhere(UINT modifiers, UINT vk);
    // Whether keys synthesised with keybd_event fire a registered hot-key (Windows CE does
    // not say; on by default). Keys pressed on the keyboard always do.
    void SetSynthesisedKeysFireHotKeys(bool on);

    // ---- heap ----
    std::vector<HeapBlock> LiveBlocks(int owner) const;
    size_t BadFrees() const;
    // Blocks made from now on are rounded up to this many bytes, which LocalSize answers
    // (default 32, as CE 6's retail heap; 1: exactly the size asked). The slack of a block
    // not made with LMEM_ZEROINIT holds garbage.
    void SetHeapGranule(size_t bytes);
    // Off: no zero word follows a block (on by default, so that a program which may only
    // count to the NUL of another program's text finds one). A read past a block's end
    // then runs into whatever follows, as on the device, and the sanitizer sees it.
    void SetZeroWordAfterBlocks(bool on);

    // ---- mutexes ----
    bool MutexExists(const std::u16string& name) const;

    // ---- recorded calls ----
    const std::vector<Call>& Calls() const;
    std::vector<Call> Calls(const std::string& name, int program = 0) const;
    void ClearCalls();

    // ---- screen ----
    int ScreenWidth() const;
    int ScreenHeight() const;
    RECT WorkArea() const;

    DeviceState& State();

private:
    std::unique_ptr<DeviceState> state_;
};

}  // namespace sim
